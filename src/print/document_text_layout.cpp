#include "print/document_text_layout.h"

#include "base/text_format.h"
#include "print/print_options.h"
#include "print/text_print_module.h"
#include "store/table.h"

namespace {

constexpr int kStampWidth = 43;
constexpr int kPrintedPositions = 7;

QString Pad(const QString &text, int width)
{
    return PadRight(text, width);
}

bool IsReceiptLayout(const QString &kind)
{
    return kind.startsWith(QStringLiteral("KP"));
}

// The four stamp texts beside the title, blanks when the stamp is not printed.
QStringList StampTexts(const std::optional<CompanyStamp> &stamp)
{
    if (!stamp)
        return {QString(), QString(), QString(), QString()};
    return {stamp->name1, stamp->name2, stamp->street + u' ' + stamp->number + u' ' + stamp->unit,
            stamp->postalCode + u' ' + stamp->postOffice};
}

QString PositionLine(const PositionRow &row)
{
    return u'|' + Pad(row.description, 43) + u'|' + Pad(row.amountText.mid(5, 15), 15) + QStringLiteral("|  ")
           + Pad(row.account, 12) + QStringLiteral("  |");
}

} // namespace

CompanyStamp CompanyStampOf(const Table &company)
{
    auto text = [&](const char *field) { return company.asString(QString::fromLatin1(field)); };
    return {text("NAZWA1"), text("NAZWA2"), text("ULICA"), text("NUMER"), text("LOKAL"), text("KOD"), text("POCZTA")};
}

QStringList DocumentTextLines(const DocumentText &d)
{
    const bool receipt = IsReceiptLayout(d.kind);
    const QStringList stamp = StampTexts(d.stamp);
    const QString rule = QStringLiteral("|-------------------------------------------|---------------|----------------|");
    QStringList lines;
    lines << Pad(stamp[0], kStampWidth)
                 + (receipt ? QStringLiteral(" DOWÓD WPŁATY          POKWITOWANIE") : QStringLiteral(" DOWÓD WYPŁATY"));
    lines << Pad(stamp[1], kStampWidth) + QStringLiteral(" ----------------------------------");
    lines << Pad(stamp[2], kStampWidth) + QStringLiteral(" | ") + Pad(d.number, 30) + QStringLiteral(" |");
    lines << Pad(stamp[3], kStampWidth) + QStringLiteral(" | dnia : ") + Pad(d.date, 10)
                 + QStringLiteral("              |");
    lines << QStringLiteral("-----------------------------------------------------------------------------|");
    lines << QStringLiteral("| Od Kogo                                   |    WINIEN     |       MA       |");
    lines << u'|' + Pad(d.name1, 43) + QStringLiteral("|     Kasa      |      Konto     |");
    lines << u'|' + Pad(d.name2, 43) + QStringLiteral("|               |                |");
    lines << u'|' + Pad(d.street, 43) + QStringLiteral("|---------------|----------------|");
    lines << u'|' + Pad(d.postalCode + u' ' + d.town, 43) + u'|' + Pad(d.texts.unitCaption, 15)
                 + QStringLiteral("|      Numer     |");
    lines << rule;
    for (int i = 0; i < kPrintedPositions; ++i)
        lines << PositionLine(i < d.positions.size() ? d.positions[i] : PositionRow{});
    lines << rule;
    lines << u'|' + Pad(d.texts.wordsLabel, 35) + QStringLiteral(" RAZEM  |")
                 + Pad(FormatPicture(QStringLiteral("## ### ##9 , 99"), d.amount.roundedTo2().toDouble()), 15)
                 + QStringLiteral("|                |");
    lines << u'|' + Pad(d.texts.amountWords, 43) + QStringLiteral("|               |                |");
    lines << QStringLiteral("|----------------------------------------------------------------------------|");
    if (receipt) {
        lines << QStringLiteral("|Wystawił | Sprawdził | Zatwierdził | Rap.kasowy | Kwotę powyższą otrzymałem |");
        lines << QStringLiteral("|         |           |             |            |                           |");
    } else {
        lines << QStringLiteral("|Wystawił | Sprawdził | Zatwierdził | Rap.kasowy |     Kwotę powyższą        |");
        lines << QStringLiteral("|         |           |             |            | wypłaciłem  | otrzymałem  |");
    }
    const QString signatures = receipt ? QStringLiteral(" |                           |") : QStringLiteral(" |             |             |");
    lines << QStringLiteral("|         |           |             | Nr ") + Pad(d.report, 7) + signatures;
    lines << QStringLiteral("|         |           |             | poz. ") + Pad(d.place, 5)
                 + (receipt ? QStringLiteral(" |            podpis kasjera |") : signatures);
    lines << RepeatChar(u'-', 78);
    return lines;
}

DocumentText ReadDocumentText(const DocumentTextSources &s)
{
    auto header = [&](const char *field) { return s.header.asString(QString::fromLatin1(field)); };
    DocumentText d;
    d.kind = header("RD");
    d.number = header("DOWOD");
    d.date = header("DATA");
    d.name1 = header("ONAZ1");
    d.name2 = header("ONAZ2");
    d.street = header("OUL");
    d.postalCode = header("OKOD");
    d.town = header("OMIEJSC");
    d.amount = s.header.asMoney(QStringLiteral("KWOTA"));
    d.report = header("NUMER");
    d.place = header("POZ");
    d.texts = PrepareAmountTexts(d.kind, d.amount, ForeignCurrencyOf(s.desk.asString(QStringLiteral("A2")), s.currencies));
    d.positions = ReadPositionTable(s.positions, d.kind);
    if (PrintsCompanyStamp(s.parameters))
        d.stamp = CompanyStampOf(s.company);
    return d;
}

void PrintDocumentText(TDRUK &druk, const DocumentText &document)
{
    druk.START(QStringLiteral("Wydruk dokumentu"), 0);
    for (const QString &line : DocumentTextLines(document))
        druk.PISZ(line);
    druk.Auto = true;
    druk.STOP(false);
}
