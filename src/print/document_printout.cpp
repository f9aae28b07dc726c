#include "print/document_printout.h"

#include "print/print_options.h"

#include <QScopeGuard>

namespace {

bool IsReceiptKind(const QString &kind)
{
    return kind == QLatin1String("KP") || kind == QLatin1String("KPD");
}

bool IsPayoutKind(const QString &kind)
{
    return kind == QLatin1String("KW") || kind == QLatin1String("KWD");
}

QChar OptionAt(const QString &options, int position)
{
    return position >= 1 && position <= options.size() ? options.at(position - 1) : QChar(u' ');
}

// The position table's row (1-based) or an empty one.
PositionRow RowAt(const DocumentText &document, int row)
{
    return row >= 1 && row <= document.positions.size() ? document.positions.at(row - 1) : PositionRow();
}

void SetRow(ReportForm &form, const QString &description, const QString &amount, const QString &account,
            const PositionRow &row)
{
    form.setCaption(description, row.description);
    form.setCaption(amount, row.amountText);
    form.setCaption(account, row.account);
}

// The KP and KW forms: copies 1, 2 (and 3) with their words, unit, total and rows.
void FillCopies(ReportForm &form, const DocumentText &d, int copies, int rows)
{
    const QString total = PositionAmountText(d.kind, d.amount);
    for (int copy = 1; copy <= copies; ++copy) {
        const QString c = QString::number(copy);
        form.setCaption("s" + QString::number(2 * (copy - 1)), d.texts.wordsLabel);
        form.setCaption("s" + QString::number(2 * (copy - 1) + 1), d.texts.amountWords);
        form.setCaption("zg" + c, d.texts.unitCaption);
        form.setCaption("R" + c, total);
        const int offset = copy == 1 ? 0 : copy == 2 ? 7 : 10;
        for (int j = 1; j <= rows; ++j) {
            const QString k = QString::number(offset + j);
            SetRow(form, "D" + k, "K" + k, "O" + k, RowAt(d, j));
        }
    }
}

void FillSettlement(ReportForm &form, const DocumentText &d, const QString &sign)
{
    form.setCaption("z1", d.texts.unitCaption);
    form.setCaption("z2", d.texts.unitCaption);
    form.setCaption("z3", d.texts.amountWords);
    form.setCaption("z31", d.texts.amountWords);
    const bool returned = sign == QLatin1String("+");
    const QString caption = returned ? QStringLiteral("do zwrotu :") : QStringLiteral("do wypłaty :");
    for (const char *name : {"rozliczenie1", "rozliczenie2", "rozliczenie3", "rozliczenie4"})
        form.setCaption(QString::fromLatin1(name), caption);
    for (const char *name : {"zwrot1", "zwrot2"})
        form.setEnabled(QString::fromLatin1(name), returned);
    for (const char *name : {"wyplata1", "wyplata2"})
        form.setEnabled(QString::fromLatin1(name), !returned);
    form.setCaption("z4", returned ? d.texts.amountWords : QString());
    form.setCaption("z41", form.caption("z4"));
    for (int k = 1; k <= kMaxPositionRows; ++k) {
        const QString n = QString::number(k);
        const QString description = (k == 8 || k == 16 || k == 18) ? "a" + n : "A" + n;
        SetRow(form, description, "B" + n, "C" + n, RowAt(d, k));
        SetRow(form, "d" + n, "e" + n, "f" + n, RowAt(d, k));
    }
}

void FillRequest(ReportForm &form, const DocumentText &d)
{
    form.setCaption("z1", d.texts.unitCaption);
    form.setCaption("z3", d.texts.amountWords);
    for (int k = 1; k <= 6; ++k) {
        const PositionRow row = RowAt(d, k);
        form.setCaption("A" + QString::number(k), row.description);
        form.setCaption("B" + QString::number(k), row.amountText);
    }
}

} // namespace

DocumentPrintChoice ChooseDocumentPrintout(const QString &kind, const QString &printOptions, PrintOrigin origin)
{
    const QChar layout = OptionAt(printOptions, 2);
    const bool previewAsked = OptionAt(printOptions, 5) == u'1';
    DocumentPrintChoice choice;
    if (kind == QLatin1String("RZ")) {
        choice.form = DocumentFormId::TKasar5;
        choice.preview = true;
        return choice;
    }
    if (kind == QLatin1String("WZ")) {
        choice.form = DocumentFormId::TKasar6;
        choice.preview = true;
        return choice;
    }
    const bool receipt = IsReceiptKind(kind);
    if (!receipt && !IsPayoutKind(kind))
        return choice;
    if (layout == u'3') {
        choice.text = true;
        return choice;
    }
    if (layout == u'0' || layout == u' ') {
        choice.form = receipt ? DocumentFormId::TKasaR1 : DocumentFormId::TKasaR3;
        // From a receipt's editor only "0" prints; a blank previews.
        choice.preview = receipt && origin == PrintOrigin::Editor ? OptionAt(printOptions, 5) != u'0' : previewAsked;
    } else if (layout == u'1') {
        choice.form = receipt ? DocumentFormId::TKasaR11 : DocumentFormId::TKasaR31;
        choice.preview = receipt && origin == PrintOrigin::Editor ? true : previewAsked;
    } else if (layout == u'2') {
        choice.form = receipt ? DocumentFormId::TKasaR11 : DocumentFormId::TKasaR31;
        choice.preview = receipt && origin == PrintOrigin::Editor ? false : previewAsked;
        choice.copies = choice.preview ? 1 : 2;
    } else if (layout == u'4') {
        choice.form = receipt ? DocumentFormId::TKasaR41 : DocumentFormId::TKasaR32;
        choice.preview = previewAsked;
    }
    return choice;
}

void FillDocumentForms(DocumentForms &forms, const DocumentText &document, const QString &settlementSign)
{
    const QString &kind = document.kind;
    if (IsReceiptKind(kind)) {
        FillCopies(forms.form(DocumentFormId::TKasaR11), document, 1, 7);
        FillCopies(forms.form(DocumentFormId::TKasaR1), document, 2, 7);
        FillCopies(forms.form(DocumentFormId::TKasaR41), document, 3, 3);
    } else if (IsPayoutKind(kind)) {
        FillCopies(forms.form(DocumentFormId::TKasaR31), document, 1, 7);
        FillCopies(forms.form(DocumentFormId::TKasaR3), document, 2, 7);
        FillCopies(forms.form(DocumentFormId::TKasaR32), document, 3, 3);
    } else if (kind == QLatin1String("RZ")) {
        FillSettlement(forms.form(DocumentFormId::TKasar5), document, settlementSign);
    } else if (kind == QLatin1String("WZ")) {
        FillRequest(forms.form(DocumentFormId::TKasar6), document);
    }
}

DocumentPrintout::DocumentPrintout(const DocumentPrintTables &tables, FormOutput &output,
                                   std::function<TDRUK *()> textPrinter)
    : tables_(tables), output_(output), textPrinter_(std::move(textPrinter)), headerRecord_(tables.header),
      reportRecord_(tables.report), companyRecord_(tables.company),
      forms_(DocumentFormSources{headerRecord_, reportRecord_, companyRecord_,
                                 [this](int position) { return PrintOption(tables_.parameters, position); }})
{
}

void DocumentPrintout::printFromList(const QList<Bookmark> &documents)
{
    if (!tables_.header.isOpen() || tables_.header.isEmpty())
        return;
    printEach(documents.isEmpty() ? QList<Bookmark>{tables_.header.bookmark()} : documents, PrintOrigin::List);
}

void DocumentPrintout::printFromEditor(const Bookmark &document)
{
    if (!tables_.header.isOpen() || tables_.header.isEmpty())
        return;
    printEach({document.isValid() ? document : tables_.header.bookmark()}, PrintOrigin::Editor);
}

void DocumentPrintout::printEach(const QList<Bookmark> &documents, PrintOrigin origin)
{
    Table &header = tables_.header;
    const Bookmark current = header.bookmark();
    const auto giveBack = qScopeGuard([&] {
        if (current.isValid() && header.bookmark() != current)
            header.gotoBookmark(current);
    });
    for (const Bookmark &document : documents) {
        if (!document.isValid() || !header.gotoBookmark(document))
            continue;
        printCurrent(origin);
    }
}

void DocumentPrintout::printCurrent(PrintOrigin origin)
{
    const QString kind = tables_.header.asString(QStringLiteral("RD"));
    QString options;
    for (int position = 1; position <= 5; ++position)
        options += PrintOption(tables_.parameters, position);
    const DocumentPrintChoice choice = ChooseDocumentPrintout(kind, options, origin);
    if (!choice.form && !choice.text)
        return;
    const DocumentText document = ReadDocumentText(DocumentTextSources{
        tables_.header, tables_.positions, tables_.desk, tables_.currencies, tables_.company, tables_.parameters});
    if (choice.text) {
        if (TDRUK *druk = textPrinter_ ? textPrinter_() : nullptr)
            PrintDocumentText(*druk, document);
        return;
    }
    FillDocumentForms(forms_, document, tables_.header.asString(QStringLiteral("OKOD")));
    ReportForm &form = forms_.form(*choice.form);
    form.title = document.number.trimmed().isEmpty() ? document.kind : document.number.trimmed();
    if (choice.preview) {
        output_.preview(form);
        return;
    }
    for (int i = 0; i < choice.copies; ++i)
        output_.print(form);
}
