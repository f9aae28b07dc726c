#include "print/cash_report_printout.h"

#include "base/prompt.h"
#include "print/document_forms.h"
#include "print/print_options.h"
#include "store/table.h"
#include "store/table_schemas.h"

#include <QMap>
#include <QScopeGuard>

namespace {

const QString kMask = QStringLiteral("### ### ##0.00");
const QString kReport = QStringLiteral("TRKASA");
const QString kDesk = QStringLiteral("TKASA");
const QString kCompany = QStringLiteral("FIRMA");
const QString kStampPrefix = QStringLiteral("stamp_");

// The document fields the cash report shows or sums.
const QStringList kDocumentFields{"POZ", "DATA", "DOWOD", "ONAZ1", "TYT1", "KONTO", "WPRZY", "WROZ", "RD", "OKOD", "KWOTA"};

FormFont Arial(double size, bool bold = false)
{
    return {QStringLiteral("Arial"), size, bold};
}

FormElement Named(FormElement element, const QString &name)
{
    element.name = name;
    return element;
}

// Stamp, title, report number, desk, period and page number: the top of both report forms.
void AddReportHead(FormBand &band, bool monthly)
{
    const FormFont f8 = Arial(8);
    band.add(Named(DataText(kCompany, "NAZWA1", 0, 0, 62, f8), kStampPrefix + "NAZWA1"));
    band.add(Named(DataText(kCompany, "NAZWA2", 0, 4, 62, f8), kStampPrefix + "NAZWA2"));
    band.add(Label(kStampPrefix + "ulica", QString(), 0, 8, 62, f8));
    band.add(Named(DataText(kCompany, "KOD", 0, 12, 11, f8), kStampPrefix + "KOD"));
    band.add(Named(DataText(kCompany, "POCZTA", 11.5, 12, 50, f8), kStampPrefix + "POCZTA"));

    band.add(Label(QString(), QStringLiteral("RAPORT KASOWY"), 64, 0, 70, Arial(14, true), FormAlign::Center));
    band.add(Label("tytul", QStringLiteral("RK"), 64, 6.5, 70, Arial(14, true), FormAlign::Center));
    band.add(Label("nr", QStringLiteral("Nr"), 64, 14, 22, Arial(10), FormAlign::Right));
    band.add(Named(DataText(kReport, "NUMER", 87, 14, 12, Arial(10, true)), "NUMER"));
    band.add(Named(DataText(kReport, "OZNACZENIE", 100, 14, 36, Arial(10)), "OZNACZENIE"));

    band.add(Label(QString(), QStringLiteral("Kasa"), 138, 0, 0, Arial(9)));
    band.add(Named(DataText(kDesk, "SYMBOL", 148, 0, 42, Arial(9, true)), "SYMBOL"));
    band.add(Named(DataText(kDesk, "NAZWA", 138, 4.3, 52, f8), "NAZWA"));
    band.add(Label(QString(), QStringLiteral("Za okres :"), 138, 8.8, 0, Arial(9)));
    if (monthly)
        band.add(Label("miesiac", QString(), 156, 8.8, 34, Arial(9, true)));
    band.add(Label("od", QStringLiteral("od"), 138, 13.2, 0, Arial(9)));
    band.add(Named(DataText(kReport, "DATAOD", 143, 13.2, 20, Arial(9, true)), "DATAOD"));
    band.add(Label("do", QStringLiteral("do"), 164, 13.2, 0, Arial(9)));
    band.add(Named(DataText(kReport, "DATADO", 169.5, 13.2, 20, Arial(9, true)), "DATADO"));
    band.add(Label(QString(), QStringLiteral("Strona:"), 138, 17.6, 0, Arial(9)));
    band.add(PageNumber(152, 17.6, 20, Arial(9, true)));
}

void SwitchStamp(ReportForm &form, bool printed)
{
    for (FormBand &band : form.bands)
        for (FormElement &element : band.elements)
            if (element.name.startsWith(kStampPrefix))
                element.enabled = printed;
}

} // namespace

QList<AccountTotal> SumPerAccount(RecordList &documents)
{
    QMap<QString, AccountTotal> totals;
    for (documents.first(); !documents.eof(); documents.next()) {
        const QString account = FormValueText(documents.value("KONTO"), QString());
        const QString kind = FormValueText(documents.value("RD"), QString());
        const QString sign = FormValueText(documents.value("OKOD"), QString());
        const QVariant amountValue = documents.value("KWOTA");
        const Money amount = amountValue.metaType() == QMetaType::fromType<Money>() ? amountValue.value<Money>() : Money();
        AccountTotal &row = totals[account];
        row.account = account;
        if (kind == QLatin1String("KP") || kind == QLatin1String("KPD") || (kind == QLatin1String("RZ") && sign == QLatin1String("+")))
            row.ma += amount;
        else if (kind == QLatin1String("KW") || kind == QLatin1String("KWD") || (kind == QLatin1String("RZ") && sign == QLatin1String("-")))
            row.wn += amount;
    }
    return totals.values();
}

std::unique_ptr<ReportForm> CreateCashReportForm(const FormRecord &report, const FormRecord &desk,
                                                 const FormRecord &company)
{
    auto form = std::make_unique<ReportForm>(QStringLiteral("TKasaR2"));
    form->page.margins = {10, 10, 10, 25};
    form->page.baseFont = Arial(10);
    form->records.insert(kReport, &report);
    form->records.insert(kDesk, &desk);
    form->records.insert(kCompany, &company);
    const FormFont f8 = Arial(8);
    const FormFont f8b = Arial(8, true);

    FormBand &header = form->addBand(BandKind::PageHeader, 33, "naglowek");
    AddReportHead(header, true);
    header.add(Box(0, 23.5, 190, 9));
    for (double x : {12.5, 30.5, 58.5, 127.0, 157.0})
        header.add(VerticalLine(x, 23.5, 9));
    header.add(Label(QString(), QStringLiteral("Poz."), 3, 25.5, 0, f8b));
    header.add(Label(QString(), QStringLiteral("Data"), 14, 25.5, 0, f8b));
    header.add(Label(QString(), QStringLiteral("DOWÓD"), 32, 24.2, 0, f8b));
    header.add(Label("naglowekKonto", QStringLiteral("KONTO"), 32, 28.2, 0, f8b));
    header.add(Label(QString(), QStringLiteral("TREŚĆ"), 60, 25.5, 67, f8b, FormAlign::Center));
    header.add(Label(QString(), QStringLiteral("PRZYCHÓD"), 127, 25.5, 29, f8b, FormAlign::Right));
    header.add(Label(QString(), QStringLiteral("ROZCHÓD"), 157, 25.5, 29, f8b, FormAlign::Right));
    ReportForm *f = form.get();
    const FormRecord *companyRecord = &company;
    header.beforePrint = [f, companyRecord](FormBand &) {
        f->setCaption(kStampPrefix + "ulica", CompanyStreetLine(*companyRecord));
        return true;
    };

    FormBand &carried = form->addBand(BandKind::ColumnHeader, 6, "przeniesienie");
    carried.add(Label(QString(), QStringLiteral("Z przeniesienia:"), 60, 1, 66, f8b, FormAlign::Right));
    carried.add(SumOf("zPrzeniesieniaWPRZY", "WPRZY", 126, 1, 30, false, kMask, f8b));
    carried.add(SumOf("zPrzeniesieniaWROZ", "WROZ", 156, 1, 30, false, kMask, f8b));
    carried.add(HorizontalLine(0, 5.8, 190, 0.1));

    FormBand &detail = form->addBand(BandKind::Detail, 10.6, "pozycja");
    detail.add(DataText(QString(), "POZ", 2, 0.8, 9.5, f8, FormAlign::Right));
    detail.add(DataText(QString(), "DATA", 14, 0.8, 16, f8));
    detail.add(DataText(QString(), "DOWOD", 32, 0.8, 26, f8));
    detail.add(DataText(QString(), "ONAZ1", 60, 0.8, 67, f8));
    detail.add(DataText(QString(), "WPRZY", 126, 0.8, 30, f8, FormAlign::Right, kMask));
    detail.add(DataText(QString(), "WROZ", 156, 0.8, 30, f8, FormAlign::Right, kMask));
    detail.add(DataText(QString(), "KONTO", 32, 5.3, 26, f8));
    // A long description takes two smaller lines rather than running into the amounts.
    FormElement description = DataText(QString(), "TYT1", 60, 4.6, 67, f8);
    description.wordWrap = true;
    description.height = 5.6;
    detail.add(description);
    detail.add(HorizontalLine(0, 10.5, 190, 0.1));

    FormBand &footer = form->addBand(BandKind::PageFooter, 34, "stopka");
    footer.add(HorizontalLine(0, 0.3, 190, 0.3));
    footer.add(Label(QString(), QStringLiteral("Razem strona:"), 60, 1.2, 66, f8b, FormAlign::Right));
    footer.add(SumOf("razemStronaWPRZY", "WPRZY", 126, 1.2, 30, true, kMask, f8b));
    footer.add(SumOf("razemStronaWROZ", "WROZ", 156, 1.2, 30, true, kMask, f8b));
    footer.add(Label(QString(), QStringLiteral("Do przeniesienia:"), 60, 5.7, 66, f8b, FormAlign::Right));
    footer.add(SumOf("doPrzeniesieniaWPRZY", "WPRZY", 126, 5.7, 30, false, kMask, f8b));
    footer.add(SumOf("doPrzeniesieniaWROZ", "WROZ", 156, 5.7, 30, false, kMask, f8b));
    footer.add(Label("stanKasy", QStringLiteral("Stan Kasy"), 0, 1.2, 0, f8b));
    footer.add(Label("poprzedni", QStringLiteral("poprzedni"), 0, 5.7, 0, f8));
    footer.add(Named(DataText(kReport, "BOWARTOSC", 18, 5.7, 30, f8b, FormAlign::Right, kMask), "BOWARTOSC"));
    footer.add(Label("obecny", QStringLiteral("obecny"), 0, 10.2, 0, f8));
    footer.add(Named(DataText(kReport, "BZWARTOSC", 18, 10.2, 30, f8b, FormAlign::Right, kMask), "BZWARTOSC"));
    footer.add(Label(QString(), QStringLiteral("Sporządził"), 20, 18, 0, f8));
    footer.add(HorizontalLine(5, 23, 50, 0.1));
    footer.add(Label(QString(), QStringLiteral("Sprawdził"), 140, 18, 0, f8));
    footer.add(HorizontalLine(125, 23, 50, 0.1));
    footer.add(Label("linia", QString(), 0, 30, 0, {QStringLiteral("Tahoma"), 6, false}));
    return form;
}

std::unique_ptr<ReportForm> CreateAccountTotalsForm(const FormRecord &report, const FormRecord &desk,
                                                    const FormRecord &company)
{
    auto form = std::make_unique<ReportForm>(QStringLiteral("TKasaR4"));
    form->page.margins = {10, 10, 10, 25};
    form->records.insert(kReport, &report);
    form->records.insert(kDesk, &desk);
    form->records.insert(kCompany, &company);
    const FormFont f9 = Arial(9);
    const FormFont f9b = Arial(9, true);

    FormBand &header = form->addBand(BandKind::PageHeader, 31, "naglowek");
    AddReportHead(header, false);
    header.add(Box(20, 23.5, 150, 7));
    header.add(VerticalLine(60, 23.5, 7));
    header.add(VerticalLine(115, 23.5, 7));
    header.add(Label("naglowekKonto", QStringLiteral("KONTO"), 22, 25, 36, f9b));
    header.add(Label(QString(), QStringLiteral("SUMA Winien"), 60, 25, 53, f9b, FormAlign::Right));
    header.add(Label(QString(), QStringLiteral("SUMA Ma"), 115, 25, 53, f9b, FormAlign::Right));
    ReportForm *f = form.get();
    const FormRecord *companyRecord = &company;
    header.beforePrint = [f, companyRecord](FormBand &) {
        f->setCaption(kStampPrefix + "ulica", CompanyStreetLine(*companyRecord));
        return true;
    };

    FormBand &detail = form->addBand(BandKind::Detail, 6, "konto");
    detail.add(Named(DataText(QString(), "KONTO", 22, 1, 36, f9), "KONTO"));
    detail.add(DataText(QString(), "WN", 60, 1, 53, f9, FormAlign::Right, kMask));
    detail.add(DataText(QString(), "MA", 115, 1, 53, f9, FormAlign::Right, kMask));
    detail.add(HorizontalLine(20, 5.9, 150, 0.1));

    FormBand &footer = form->addBand(BandKind::PageFooter, 30, "stopka");
    footer.add(HorizontalLine(20, 0.3, 150, 0.3));
    footer.add(Label(QString(), QStringLiteral("RAZEM"), 22, 1.5, 0, f9b));
    footer.add(SumOf("razemWN", "WN", 60, 1.5, 53, false, kMask, f9b));
    footer.add(SumOf("razemMA", "MA", 115, 1.5, 53, false, kMask, f9b));
    footer.add(Label(QString(), QStringLiteral("Sporządził"), 20, 14, 0, Arial(8)));
    footer.add(HorizontalLine(5, 19, 50, 0.1));
    footer.add(Label(QString(), QStringLiteral("Sprawdził"), 140, 14, 0, Arial(8)));
    footer.add(HorizontalLine(125, 19, 50, 0.1));
    footer.add(Label("linia", kFormSoftwareLine, 0, 26, 0, {QStringLiteral("Tahoma"), 6, false}));
    return form;
}

void SetCashReportMode(ReportForm &form, const QString &monthText)
{
    const bool monthly = !monthText.isEmpty();
    for (const char *name : {"od", "DATAOD", "do", "DATADO", "nr", "NUMER", "OZNACZENIE", "stanKasy", "poprzedni",
                             "obecny", "BOWARTOSC", "BZWARTOSC"})
        if (form.element(QString::fromLatin1(name)))
            form.setEnabled(QString::fromLatin1(name), !monthly);
    if (form.element("miesiac")) {
        form.setEnabled("miesiac", monthly);
        form.setCaption("miesiac", monthText);
    }
    form.setCaption("tytul", monthly ? QStringLiteral("MIESIĘCZNY") : QStringLiteral("RK"));
}

void SetCashReportOptions(ReportForm &form, bool accounts, bool stamp, const QString &companyName,
                          const QString &todayText)
{
    form.setEnabled("naglowekKonto", accounts);
    if (FormElement *account = form.element("KONTO"))
        account->enabled = accounts;
    for (FormBand &band : form.bands)
        for (FormElement &element : band.elements)
            if (element.kind == ElementKind::DataText && element.source.isEmpty() && element.field == QLatin1String("KONTO"))
                element.enabled = accounts;
    SwitchStamp(form, stamp);
    if (form.name == QLatin1String("TKasaR2"))
        form.setCaption("linia", QStringLiteral("Instalacja : ") + companyName + QStringLiteral("   ") + kFormSoftwareLine +
                                     QStringLiteral("   Wydrukowano dnia ") + todayText);
}

// --- The printout ------------------------------------------------------------------------------

CashReportPrintout::CashReportPrintout(const CashReportTables &tables, FormOutput &output, Prompt &prompt,
                                       std::function<QString()> todayText)
    : tables_(tables), output_(output), prompt_(prompt), todayText_(std::move(todayText)), reportRecord_(tables.report),
      deskRecord_(tables.desk), companyRecord_(tables.company)
{
}

ReportForm &CashReportPrintout::reportForm()
{
    if (!reportForm_) {
        reportForm_ = CreateCashReportForm(reportRecord_, deskRecord_, companyRecord_);
        reportForm_->dataSet = &documentRows_;
    }
    return *reportForm_;
}

ReportForm &CashReportPrintout::totalsForm()
{
    if (!totalsForm_) {
        totalsForm_ = CreateAccountTotalsForm(reportRecord_, deskRecord_, companyRecord_);
        totalsForm_->dataSet = &totalRows_;
    }
    return *totalsForm_;
}

void CashReportPrintout::ReadDocuments(Table &documents, RecordList &rows)
{
    rows.clear();
    if (!documents.isOpen())
        return;
    const Bookmark current = documents.bookmark();
    documents.disableControls();
    const auto giveBack = qScopeGuard([&] {
        if (current.isValid() && documents.bookmark() != current)
            documents.gotoBookmark(current);
        documents.enableControls();
    });
    QStringList fields;
    for (const QString &field : kDocumentFields)
        if (documents.hasField(field))
            fields.append(field);
    for (documents.first(); !documents.eof(); documents.next()) {
        RecordList::Row row;
        for (const QString &field : fields)
            row.insert(field, documents.value(field));
        rows.append(row);
    }
}

void CashReportPrintout::prepare(const QString &monthText)
{
    ReadDocuments(tables_.documents, documentRows_);
    const bool accounts = tables_.parameters.isOpen() && tables_.parameters.hasField("B3") &&
                          tables_.parameters.asBoolean(QStringLiteral("B3"));
    const bool stamp = PrintsCompanyStamp(tables_.parameters);
    const QString companyName = FormValueText(companyRecord_.value("NAZWA1"), QString());
    const QString today = todayText_ ? todayText_() : QString();
    const QString marking = FormValueText(reportRecord_.value("OZNACZENIE"), QString()).trimmed();
    reportForm().title = monthText.isEmpty() ? QStringLiteral("Raport kasowy ") + (marking.isEmpty() ? FormValueText(reportRecord_.value("NUMER"), QString()) : marking)
                                             : QStringLiteral("Raport miesięczny ") + monthText;
    totalsForm().title = QStringLiteral("Sumy kont ") + (marking.isEmpty() ? FormValueText(reportRecord_.value("NUMER"), QString()) : marking);
    SetCashReportMode(reportForm(), monthText);
    SetCashReportOptions(reportForm(), accounts, stamp, companyName, today);
    SetCashReportMode(totalsForm(), QString());
    SetCashReportOptions(totalsForm(), accounts, stamp, companyName, today);
}

void CashReportPrintout::buildTotals()
{
    Table &totals = tables_.totals;
    if (totals.isOpen())
        totals.close();
    try {
        totals.create(AccountTotalsTableDefinition());
    } catch (const EngineError &) {
        prompt_.show(PromptIcon::Error, QStringLiteral("Nie mozna utworzyć tabeli"), Ok, QStringLiteral("Błąd"));
    }
    const QList<AccountTotal> sums = SumPerAccount(documentRows_);
    totalRows_.clear();
    try {
        totals.open();
        for (const AccountTotal &sum : sums) {
            if (totals.findKey({sum.account})) {
                totals.edit();
            } else {
                totals.insert();
                totals.setString(QStringLiteral("KONTO"), sum.account);
            }
            totals.setMoney(QStringLiteral("WN"), sum.wn);
            totals.setMoney(QStringLiteral("MA"), sum.ma);
            totals.post();
        }
        // The form reads the table as stored, in account order.
        for (totals.first(); !totals.eof(); totals.next())
            totalRows_.append({{"KONTO", totals.value("KONTO")}, {"WN", totals.value("WN")}, {"MA", totals.value("MA")}});
    } catch (const EngineError &) {
        // The printout goes on with what the table holds.
    }
}

void CashReportPrintout::printReport()
{
    if (!tables_.report.isOpen() || tables_.report.isEmpty())
        return;
    const bool accounts = tables_.parameters.isOpen() && tables_.parameters.asBoolean(QStringLiteral("B3"));
    const QString order = tables_.documents.indexName();
    if (order.compare(QLatin1String("Pinx"), Qt::CaseInsensitive) != 0)
        tables_.documents.setIndexName(QStringLiteral("Pinx"));
    prepare(QString());
    if (accounts)
        buildTotals();
    output_.preview(reportForm());
    if (accounts)
        output_.preview(totalsForm());
}

void CashReportPrintout::previewMonth(const QString &monthText)
{
    prepare(monthText);
    output_.preview(reportForm());
}
