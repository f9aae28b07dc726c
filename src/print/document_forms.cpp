#include "print/document_forms.h"

#include <array>

const QString kFormSoftwareLine = QStringLiteral("Wydruk z programu KASA");

namespace {

const QString kHeader = QStringLiteral("TNAG");
const QString kReport = QStringLiteral("TRKASA");
const QString kCompany = QStringLiteral("FIRMA");
const QString kStampPrefix = QStringLiteral("stamp_");

FormFont Times(double size, bool bold = false)
{
    return {QStringLiteral("Times New Roman"), size, bold};
}

FormFont Arial(double size, bool bold = false)
{
    return {QStringLiteral("Arial"), size, bold};
}

FormFont Tahoma(double size, bool bold = false)
{
    return {QStringLiteral("Tahoma"), size, bold};
}

FormElement Named(FormElement element, const QString &name)
{
    element.name = name;
    return element;
}

FormElement Wrapped(FormElement element, double height)
{
    element.wordWrap = true;
    element.height = height;
    return element;
}

QString Text(const FormRecord &record, const QString &field)
{
    return FormValueText(record.value(field), QString());
}

// Vertical places of one copy of a KP or KW form, in millimetres from the copy's top.
struct CopyGeometry {
    std::array<double, 4> stamp;
    double title;        // receipt: "Dowód wpłaty"
    double secondTitle;  // receipt: "Pokwitowanie"
    double payoutTitle;  // "Dowód wypłaty"
    double payoutDate;   // its "dnia:" line
    double mark;
    double number;
    double date;
    double headTop;
    double party;
    double name1;
    double name2;
    double street;
    double columnCaption;
    double columnSub;
    double columnRule;
    double unit;
    double headBottom;
    double firstRow;
    double pitch;
    double rowsTop;
    double totalTop;
    double total;
    double words;
    double signTop;
    double sign;
    double reportNumber;
    double place;
    double cashier;
    double software;
};

// The copy of the one- and two-copy forms (127.8 mm).
constexpr CopyGeometry kFullCopy{
    {0, 4.2, 8.5, 12.7}, 2.1, 8.5, 4.2, 12.7, 4.0, 15.9, 16.9, 23.3, 24.3, 29.6, 34.4, 39.2, 25.4, 29.6, 35.9, 37.6,
    44.5, 46.6, 6.35, 44.5, 93.1, 95.2, 101.6, 107.6, 109.3, 114.3, 119.1, 118.5, 124.9};

// The copy of the three-copy forms (90 mm): title block on the first 17 mm, the table header
// at 18.5 to 33 mm, three rows at a pitch of 4.8 mm, total and words at 56.1 and 62.4 mm, the
// signature row from 70.1 mm.
constexpr CopyGeometry kCompressedCopy{
    {0, 3.5, 7.0, 10.5}, 1.0, 6.5, 2.0, 8.5, 2.0, 11.0, 11.5, 18.5, 19.0, 22.3, 25.6, 28.9, 19.3, 23.3, 27.2, 28.3,
    33.0, 39.4, 4.8, 38.8, 54.0, 56.1, 62.4, 69.6, 70.6, 74.5, 78.6, 78.2, 84.9};

struct CopyPlan {
    bool receipt = true;
    int copy = 1;       // 1, 2 or 3: the labels' numbers
    int rows = 7;       // position rows
    int rowOffset = 0;  // the first row's label is D(rowOffset + 1)
    QString mark;       // "ORYGINAŁ", "KOPIA" or none
    double dy = 0;      // where the copy starts in its band
    double dx = 0;
    const CopyGeometry *g = &kFullCopy;
};

void AddStamp(FormBand &band, int copy, double left, const std::array<double, 4> &tops, double width, FormFont font,
              double dy, bool streetField = false)
{
    const QString n = QString::number(copy);
    band.add(Named(DataText(kCompany, "NAZWA1", left, dy + tops[0], width, font), kStampPrefix + "NAZWA1_" + n));
    band.add(Named(DataText(kCompany, "NAZWA2", left, dy + tops[1], width, font), kStampPrefix + "NAZWA2_" + n));
    if (streetField)
        band.add(Named(DataText(kCompany, "ULICA", left, dy + tops[2], width, font), kStampPrefix + "ULICA_" + n));
    else
        band.add(Label(kStampPrefix + "ulica_" + n, QString(), left, dy + tops[2], width, font));
    band.add(Named(DataText(kCompany, "KOD", left, dy + tops[3], 11, font), kStampPrefix + "KOD_" + n));
    band.add(Named(DataText(kCompany, "POCZTA", left + 11.5, dy + tops[3], width - 11.5, font),
                   kStampPrefix + "POCZTA_" + n));
}

// One copy of a receipt or payout document.
void AddDocumentCopy(FormBand &band, const CopyPlan &s)
{
    const CopyGeometry &g = *s.g;
    const double y = s.dy;
    const double x = s.dx;
    const QString c = QString::number(s.copy);
    const double tableLeft = 10.6 + x;
    const double tableRight = 184.0 + x;
    const double amountLeft = 113.3 + x;
    const double accountLeft = 148.8 + x;

    AddStamp(band, s.copy, 10.6 + x, g.stamp, 65.9, Times(8), y);
    if (s.receipt) {
        band.add(Label(QString(), QStringLiteral("Dowód wpłaty"), 76.2 + x, y + g.title, 31.2, Times(14, true)));
        band.add(Label(QString(), QStringLiteral("Pokwitowanie"), 76.2 + x, y + g.secondTitle, 31.0, Times(14, true)));
        band.add(Label(QString(), QStringLiteral("dnia:"), 76.2 + x, y + g.date, 0, Times(10)));
        band.add(DataText(kHeader, "DATA", 88.9 + x, y + g.date, 0, Times(10)));
    } else {
        band.add(Label(QString(), QStringLiteral("Dowód wypłaty"), 74.1 + x, y + g.payoutTitle, 0, Times(14, true)));
        band.add(Label(QString(), QStringLiteral("dnia:"), 74.1 + x, y + g.payoutDate, 0, Times(10)));
        band.add(DataText(kHeader, "DATA", 84.7 + x, y + g.payoutDate, 0, Times(10)));
    }
    if (!s.mark.isEmpty())
        band.add(Label("mark" + c, s.mark, 125.4 + x, y + g.mark, 0, {QStringLiteral("Verdana"), 14, false}));
    band.add(DataText(kHeader, "DOWOD", 116.4 + x, y + g.number, 0, Times(12, true)));

    // The party block and the two money columns.
    band.add(Box(tableLeft, y + g.headTop, tableRight - tableLeft, g.headBottom - g.headTop));
    band.add(VerticalLine(amountLeft, y + g.headTop, g.headBottom - g.headTop));
    band.add(VerticalLine(accountLeft, y + g.headTop, g.headBottom - g.headTop));
    band.add(HorizontalLine(amountLeft, y + g.columnRule, tableRight - amountLeft));
    band.add(Label(QString(), s.receipt ? QStringLiteral("Od Kogo") : QStringLiteral("Komu"), 12.7 + x, y + g.party, 0,
                   Times(9)));
    band.add(DataText(kHeader, "ONAZ1", 12.7 + x, y + g.name1, 99, Times(9)));
    band.add(DataText(kHeader, "ONAZ2", 12.7 + x, y + g.name2, 99, Times(9)));
    band.add(DataText(kHeader, "OUL", 12.7 + x, y + g.street, 48, Times(9)));
    band.add(DataText(kHeader, "OKOD", 61.4 + x, y + g.street, 10.2, Times(9)));
    band.add(DataText(kHeader, "OMIEJSC", 72.0 + x, y + g.street, 40, Times(9)));
    if (s.receipt) {
        band.add(Label(QString(), QStringLiteral("Winien"), 125.4 + x, y + g.columnCaption, 0, Arial(10, true)));
        band.add(Label(QString(), QStringLiteral("Kasa"), 127.8 + x, y + g.columnSub, 0, Arial(10)));
        band.add(Label(QString(), QStringLiteral("Ma"), 163.5 + x, y + g.columnCaption, 0, Arial(10, true)));
        band.add(Label(QString(), QStringLiteral("Konto"), 161.9 + x, y + g.columnSub, 0, Arial(10)));
    } else {
        band.add(Label(QString(), QStringLiteral("Ma"), 129.1 + x, y + g.columnCaption, 0, Arial(10, true)));
        band.add(Label(QString(), QStringLiteral("Kasa"), 127.8 + x, y + g.columnSub, 0, Arial(10)));
        band.add(Label(QString(), QStringLiteral("Winien"), 160.9 + x, y + g.columnCaption, 0, Arial(10, true)));
        band.add(Label(QString(), QStringLiteral("Konto"), 161.9 + x, y + g.columnSub, 0, Arial(10)));
    }
    band.add(Label("zg" + c, QString(), 114.3 + x, y + g.unit, 33.5, Times(10), FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("Numer"), 160.9 + x, y + g.unit, 0, Arial(10)));

    // The position rows.
    const double rowsBottom = g.rowsTop + s.rows * g.pitch;
    band.add(Box(tableLeft, y + g.rowsTop, tableRight - tableLeft, rowsBottom - g.rowsTop));
    band.add(VerticalLine(amountLeft, y + g.rowsTop, rowsBottom - g.rowsTop));
    band.add(VerticalLine(accountLeft, y + g.rowsTop, rowsBottom - g.rowsTop));
    for (int j = 1; j <= s.rows; ++j) {
        // Each row's texts stand centred in the row.
        const double rowTop = y + g.rowsTop + g.pitch * (j - 1) + 0.3;
        const QString k = QString::number(s.rowOffset + j);
        if (j > 1)
            band.add(HorizontalLine(tableLeft, y + g.rowsTop + g.pitch * (j - 1), tableRight - tableLeft, 0.1));
        // A long description takes two smaller lines within its row.
        band.add(Wrapped(Label("D" + k, QString(), 12.7 + x, rowTop, 100.0, Times(10)), g.pitch - 0.6));
        band.add(Wrapped(Label("K" + k, QString(), 114.3 + x, rowTop, 32.0, Arial(10), FormAlign::Right), g.pitch - 0.6));
        band.add(Wrapped(Label("O" + k, QString(), 150.3 + x, rowTop, 32.0, Arial(10), FormAlign::Right), g.pitch - 0.6));
    }

    // The total, the amount in words and the signatures.
    band.add(Box(amountLeft, y + g.totalTop, tableRight - amountLeft, g.words - g.totalTop - 0.3));
    band.add(VerticalLine(accountLeft, y + g.totalTop, g.words - g.totalTop - 0.3));
    band.add(Label("s" + QString::number(2 * (s.copy - 1)), QString(), 12.7 + x, y + g.total, 80, Times(10)));
    band.add(Label(QString(), QStringLiteral("RAZEM"), 93.1 + x, y + g.total, 0, Arial(10, true)));
    band.add(Label("R" + c, QString(), 114.3 + x, y + g.total, 32.0, Arial(10), FormAlign::Right));
    band.add(Label("s" + QString::number(2 * (s.copy - 1) + 1), QString(), 12.7 + x, y + g.words, 170, Times(10)));

    const double signBottom = g.software - 0.6;
    band.add(Box(tableLeft, y + g.signTop, tableRight - tableLeft, signBottom - g.signTop));
    for (double line : {38.6, 65.6, 89.5, 127.5})
        band.add(VerticalLine(line + x, y + g.signTop, signBottom - g.signTop));
    band.add(Label(QString(), QStringLiteral("Wystawił"), 14.8 + x, y + g.sign, 0, Times(10)));
    band.add(Label(QString(), QStringLiteral("Sprawdził"), 40.2 + x, y + g.sign, 0, Times(10)));
    band.add(Label(QString(), QStringLiteral("Zatwierdził"), 67.7 + x, y + g.sign, 0, Times(10)));
    band.add(Label(QString(), QStringLiteral("Rap. kasowy"), 91.0 + x, y + g.sign, 0, Times(10)));
    band.add(Label(QString(), QStringLiteral("Nr"), 91.0 + x, y + g.reportNumber, 0, Times(10)));
    band.add(DataText(kReport, "NUMER", 99.5 + x, y + g.reportNumber, 0, Times(10)));
    band.add(Label(QString(), QStringLiteral("poz."), 91.0 + x, y + g.place, 0, Times(10)));
    band.add(DataText(kHeader, "POZ", 99.5 + x, y + g.place, 0, Times(10)));
    if (s.receipt) {
        band.add(Label(QString(), QStringLiteral("Kwotę powyższą otrzymałem"), 129.1 + x, y + g.sign, 54, Times(10)));
        band.add(Label(QString(), QStringLiteral("podpis kasjera"), 165.1 + x, y + g.cashier, 0, Times(8)));
    } else {
        band.add(Label(QString(), QStringLiteral("Kwotę powyższą "), 142.0 + x, y + g.sign, 0, Times(10)));
        band.add(VerticalLine(155.7 + x, y + g.sign + 4.4, signBottom - g.sign - 4.4));
        band.add(HorizontalLine(127.5 + x, y + g.sign + 4.4, tableRight - 127.5 - x));
        band.add(Label(QString(), QStringLiteral("wypłaciłem"), 134.0 + x, y + g.sign + 5.0, 0, Times(8)));
        band.add(Label(QString(), QStringLiteral("otrzymałem"), 162.5 + x, y + g.sign + 5.0, 0, Times(8)));
    }
    band.add(Label(QString(), kFormSoftwareLine, 10.6 + x, y + g.software, 0, Tahoma(6)));
}

// --- The advance settlement --------------------------------------------------------------------

struct SettlementNames {
    QString rowDescription; // "A" or "d"
    QString rowAmount;      // "B" or "e"
    QString rowAccount;     // "C" or "f"
    QString unit;           // "z2" or "z1"
    QString words;          // "z3" or "z31"
    QString returnWords;    // "z4" or "z41"
    QString caption;        // the caption by KWOTA
    QString gridCaption;    // the caption in the grid
    QString returned;       // KWOTA on "Wpłacono niewydatkowaną kwotę"
    QString paidOut;        // KWOTA on "Zatwierdzono do wypłaty"
    int copy;
};

QString SettlementDescriptionName(const SettlementNames &n, int k)
{
    // The first copy's description labels of rows 8, 16 and 18 carry a small letter.
    if (n.copy == 1 && (k == 8 || k == 16 || k == 18))
        return "a" + QString::number(k);
    return n.rowDescription + QString::number(k);
}

void AddSettlementCopy(FormBand &band, const SettlementNames &n)
{
    const QString mask = QStringLiteral("### ### ##0.00");
    const QString c = QString::number(n.copy);
    const FormFont f6 = Arial(6);
    const FormFont f7 = Arial(7);
    const FormFont f8 = Arial(8);
    const FormFont f8b = Arial(8, true);

    // Left part.
    AddStamp(band, n.copy, 0, {0, 3.2, 6.4, 9.6}, 37.5, f7, 0, true);
    band.add(Label(QString(), QStringLiteral("ROZLICZENIE"), 38.7, 1.0, 20, f8b, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("ZALICZKI"), 38.7, 5.0, 20, f8b, FormAlign::Center));
    band.add(n.copy == 1 ? DataText(kHeader, "DOWOD", 60, 1.0, 30, f8b, FormAlign::Center)
                         : DataText(kHeader, "NRD", 60, 1.0, 30, f8b, FormAlign::Center));
    band.add(HorizontalLine(60, 5.0, 30, 0.1));
    band.add(Label(QString(), QStringLiteral("nr dowodu"), 60, 5.4, 30, f6, FormAlign::Center));
    band.add(Label("pobranej" + c, QString(), 0, 15.0, 90, f7));
    band.add(Label("przez" + c, QString(), 0, 19.0, 90, f7));
    band.add(Label(QString(), QStringLiteral("Zaliczka"), 0, 23.5, 0, f7));
    band.add(DataText(kHeader, "L1", 60, 23.5, 30, f7, FormAlign::Right, mask));
    band.add(Label(QString(), QStringLiteral("Wydatkowano wg"), 0, 27.5, 0, f7));
    band.add(DataText(kHeader, "KWOTAP", 60, 27.5, 30, f7, FormAlign::Right, mask));
    band.add(Label(QString(), QStringLiteral("(zestaw na odwrocie)"), 0, 30.7, 0, f6));
    band.add(Label(n.caption, QString(), 0, 34.5, 40, f7));
    band.add(DataText(kHeader, "KWOTA", 60, 34.5, 30, f7, FormAlign::Right, mask));
    band.add(Label(QString(), QStringLiteral("Ilość zał."), 0, 39.0, 0, f7));
    band.add(DataText(kHeader, "ONR", 14, 39.0, 12, f7));
    band.add(HorizontalLine(30, 43.0, 60, 0.1));
    band.add(Label(QString(), QStringLiteral("data                   podpis pobierającego"), 36, 43.3, 0, f6));
    band.add(Label(QString(), QStringLiteral("Zatwierdzono do wypłaty"), 0, 48.0, 0, f7));
    band.add(Named(DataText(kHeader, "KWOTA", 60, 48.0, 30, f7, FormAlign::Right, mask), n.paidOut));
    band.add(Box(0, 52.5, 90, 20.5, 0.1));
    band.add(VerticalLine(45, 52.5, 20.5, 0.1));
    band.add(Wrapped(Label(QString(), QStringLiteral("Załączone dowody sprawdzono pod względem merytorycznym"), 0.8,
                           53.2, 43.5, f6),
                     6));
    band.add(Wrapped(Label(QString(), QStringLiteral("Zestawienie i załaczone dowody sprawdzono pod względem "
                                                     "for- malnym i rachunkowym"),
                           45.8, 53.2, 43.5, f6),
                     6));
    band.add(Label(QString(), QStringLiteral("data"), 2, 68.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("podpis"), 28, 68.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("data"), 47, 68.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("podpis"), 73, 68.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("Gł. Księgowy"), 0, 75.0, 0, f7));
    band.add(Label(QString(), QStringLiteral("Dyrektor"), 45.8, 75.0, 0, f7));
    band.add(Label(QString(), QStringLiteral("data          podpis"), 16, 79.0, 0, f6));
    band.add(Label(QString(), QStringLiteral("data          podpis"), 61, 79.0, 0, f6));

    // The account grid (its cells print empty).
    const double gridTop = 83.0;
    band.add(Box(0, gridTop, 90, 25, 0.1));
    band.add(VerticalLine(30, gridTop, 25, 0.1));
    band.add(VerticalLine(55, gridTop, 25, 0.1));
    band.add(VerticalLine(72, gridTop, 25, 0.1));
    for (double line : {7.0, 13.0, 19.0})
        band.add(HorizontalLine(0, gridTop + line, 90, 0.1));
    band.add(Label(QString(), QStringLiteral("Konto W-n"), 1, gridTop + 1.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("Symbol podz."), 31, gridTop + 0.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("klasyfikac."), 31, gridTop + 3.3, 0, f6));
    band.add(Label(n.unit, QString(), 55.5, gridTop + 1.5, 16, f6, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("RAZEM"), 1, gridTop + 8.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("K-to Ma"), 1, gridTop + 14.5, 0, f6));
    band.add(Label(QString(), QStringLiteral("Zaliczka"), 31, gridTop + 14.5, 0, f6));
    band.add(Label(n.gridCaption, QString(), 31, gridTop + 20.5, 0, f6));

    band.add(Label(QString(), QStringLiteral("Słownie"), 0, 110.0, 0, f7));
    band.add(Wrapped(Label(n.words, QString(), 11, 110.0, 79, f7), 6.2));
    band.add(Label(QString(), QStringLiteral("Wpłacono niewydatkowaną kwotę"), 0, 117.0, 0, f7));
    band.add(Named(DataText(kHeader, "KWOTA", 60, 117.0, 30, f7, FormAlign::Right, mask), n.returned));
    band.add(Label(QString(), QStringLiteral("Słownie"), 0, 121.0, 0, f7));
    band.add(Wrapped(Label(n.returnWords, QString(), 11, 121.0, 79, f7), 6.2));
    band.add(Label("rk" + c, QString(), 0, 127.8, 30, f7));
    band.add(HorizontalLine(30, 130.0, 60, 0.1));
    band.add(Label(QString(), QStringLiteral("data i podpis kasjera"), 30, 130.3, 28, f6, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("data i podpis pobierającego"), 60, 130.3, 30, f6, FormAlign::Center));
    band.add(Label(QString(), kFormSoftwareLine, 0, 133.0, 0, Tahoma(6)));

    // Right part: the list of expenses.
    const double left = 95;
    band.add(Label(QString(), QStringLiteral("Zestawienie wydatków (dokumentów)"), left, 0.5, 87, f8b, FormAlign::Center));
    // Header, eighteen rows and the total row end at 130.9 mm, inside the copy.
    const double rowsEnd = 10.6 + 18 * 6.35;
    const double listEnd = rowsEnd + 6.0;
    band.add(Box(left, 4.5, 87, listEnd - 4.5, 0.1));
    band.add(HorizontalLine(left, 10.6, 87, 0.1));
    band.add(VerticalLine(left + 6, 4.5, rowsEnd - 4.5));
    band.add(VerticalLine(left + 48, 4.5, listEnd - 4.5));
    band.add(VerticalLine(left + 70, 4.5, listEnd - 4.5));
    band.add(Label(QString(), QStringLiteral("L.p"), left + 0.5, 6.0, 0, f7));
    band.add(Label(QString(), QStringLiteral("Wyszczególnienie"), left + 6, 6.0, 42, f7, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("Kwota"), left + 48, 6.0, 22, f7, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("K-to Wn"), left + 70, 6.0, 17, f7, FormAlign::Center));
    for (int k = 1; k <= 18; ++k) {
        const double rowTop = 10.6 + 6.35 * (k - 1) + 0.3;
        if (k < 18)
            band.add(HorizontalLine(left, 10.6 + 6.35 * k, 87, 0.1));
        else
            band.add(HorizontalLine(left, rowsEnd, 87, 0.1));
        band.add(Wrapped(Label(QString(), QString::number(k) + QLatin1Char('.'), left + 0.5, rowTop, 5, f7, FormAlign::Right), 5.75));
        band.add(Wrapped(Label(SettlementDescriptionName(n, k), QString(), left + 6.8, rowTop, 40.5, f7), 5.75));
        band.add(Wrapped(Label(n.rowAmount + QString::number(k), QString(), left + 48.3, rowTop, 19.8, f7, FormAlign::Right), 5.75));
        band.add(Wrapped(Label(n.rowAccount + QString::number(k), QString(), left + 71, rowTop, 14.8, f7, FormAlign::Right), 5.75));
    }
    const double totalTop = rowsEnd + 1.4;
    band.add(Label(QString(), QStringLiteral("Razem"), left + 6.8, totalTop, 0, f8b));
    band.add(DataText(kHeader, "KWOTAP", left + 48.3, totalTop, 19.8, f8b, FormAlign::Right, mask));
    band.add(Label(QString(), QStringLiteral("K-to Ma"), left + 71, totalTop, 0, f7));
}

// --- The advance request -----------------------------------------------------------------------

void AddRequest(FormBand &band)
{
    const QString mask = QStringLiteral("### ### ##0.00");
    const FormFont f7 = Arial(7);
    const FormFont f8 = Arial(8);
    const FormFont f8b = Arial(8, true);
    AddStamp(band, 1, 0, {0, 3.5, 7.0, 10.5}, 70, f8, 0);
    band.add(Label(QString(), QStringLiteral("WNIOSEK O ZALICZKĘ  NR "), 20, 17.0, 85, Tahoma(10, true), FormAlign::Right));
    band.add(DataText(kHeader, "DOWOD", 105.5, 17.0, 0, Tahoma(10, true)));

    band.add(Box(0, 23.0, 190, 16, 0.1));
    band.add(VerticalLine(90, 23.0, 16, 0.1));
    band.add(VerticalLine(150, 23.0, 16, 0.1));
    band.add(Label(QString(), QStringLiteral("Imię i nazwisko"), 1, 24.0, 0, f7));
    band.add(DataText(kHeader, "ONAZ1", 1, 28.5, 88, f8));
    band.add(DataText(kHeader, "ONAZ2", 1, 33.0, 88, f8));
    band.add(Label(QString(), QStringLiteral("Stanowisko służbowe"), 91, 24.0, 0, f7));
    band.add(DataText(kHeader, "A1", 91, 28.0, 58, f8));
    band.add(Label(QString(), QStringLiteral("Jednostka organizacyjna"), 91, 33.0, 0, f7));
    band.add(Label(QString(), QStringLiteral("Data"), 151, 24.0, 0, f7));
    band.add(DataText(kHeader, "DATA", 151, 28.5, 0, f8));

    band.add(Label(QString(), QStringLiteral("Proszę o wypłacenie mnie zaliczki wg poniższej specyfikacji"), 0, 42.0, 0,
                   f8));
    const double tableTop = 47.0;
    band.add(Box(0, tableTop, 190, 6 + 6 * 6 + 6, 0.1));
    band.add(HorizontalLine(0, tableTop + 6, 190, 0.1));
    band.add(VerticalLine(108, tableTop, 6 + 6 * 6 + 6, 0.1));
    band.add(VerticalLine(140, tableTop, 6 + 6 * 6 + 6, 0.1));
    band.add(Label(QString(), QStringLiteral("Nazwa przedmiotu, materiału lub usługi"), 1, tableTop + 1.5, 106, f8,
                   FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("Ilość"), 108, tableTop + 1.5, 32, f8, FormAlign::Center));
    band.add(Label("z1", QString(), 140, tableTop + 1.5, 50, f8, FormAlign::Center));
    for (int k = 1; k <= 6; ++k) {
        const double top = tableTop + 6 * k;
        band.add(HorizontalLine(0, top + 6, 190, 0.1));
        band.add(Wrapped(Label("A" + QString::number(k), QString(), 1, top + 0.3, 106, f8), 5.4));
        band.add(Wrapped(Label("B" + QString::number(k), QString(), 141, top + 0.3, 48, f8, FormAlign::Right), 5.4));
    }
    const double totalTop = tableTop + 6 * 7 + 1.5;
    band.add(Label(QString(), QStringLiteral("RAZEM"), 109, totalTop, 30, f8b, FormAlign::Center));
    band.add(DataText(kHeader, "KWOTA", 141, totalTop, 48, f8b, FormAlign::Right, mask));

    band.add(Label(QString(), QStringLiteral("Słownie"), 0, 103.0, 0, f8));
    band.add(Wrapped(Label("z3", QString(), 13, 103.0, 177, f8), 7));

    const std::array<QString, 3> approvals{QStringLiteral("Sprawdzono pod względem merytorycznym i rachunkowym"),
                                           QStringLiteral("Sprawdzono pod względem formalnym i rachunkowym"),
                                           QStringLiteral("Zatwierdzono do wypłaty")};
    for (int i = 0; i < 3; ++i) {
        const double left = i * 64.0;
        band.add(Wrapped(Label(QString(), approvals[size_t(i)], left, 111.0, 60, Arial(7, true), FormAlign::Center), 6));
        band.add(Label(QString(), QStringLiteral(". . . . . . . . . . . . . . . . . . . . . . . . . . . ."), left, 121.0,
                       60, f7, FormAlign::Center));
        band.add(Label(QString(), QStringLiteral("data i podpis "), left, 124.0, 60, Arial(6), FormAlign::Center));
    }
    band.add(Label(QString(), QStringLiteral("Zaliczkę wypłacono"), 0, 129.0, 55, f7, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral(". . . . . . . . . . . . . . . . . . . . . . ."), 0, 138.0, 55, f7,
                   FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("data i podpis kasjera"), 0, 141.0, 55, Arial(6), FormAlign::Center));
    // The year is left for the hand to fill after a printed "20", so the form suits any year
    // of this century.
    band.add(Wrapped(Label(QString(),
                           QStringLiteral("Powyższą zaliczkę otrzymałem i zobowiązuję się rozliczyć w terminie do dnia "
                                          ". . . . . . . . 20. . . r. upoważniając równocześnie do potrącenia kwoty nie "
                                          "rozliczonej zaliczki z najbliższej wypłaty wynagrodzenia"),
                           64, 129.0, 126, f7),
                     9));
    band.add(Label(QString(), QStringLiteral(". . . . . . . . . . . . . . . . . . . . . . . . . . . ."), 64, 138.0, 126,
                   f7, FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("podpis zaliczkobiorcy"), 64, 141.0, 126, Arial(6), FormAlign::Center));
    band.add(Label(QString(), QStringLiteral("Wprowadził(a): Numer adresowy: "), 0, 145.5, 0, f7));
    band.add(Label(QString(),
                   QStringLiteral("Data: . . . . . . . . . . . . . . . . . . . . . . . .    Podpis . . . . . . . . . . "
                                  ". . . . . . . . . . . . .  . . . . . . . . . . . . . . . .  "),
                   55, 145.5, 0, f7));
    band.add(Label(QString(), kFormSoftwareLine, 0, 151.0, 0, Tahoma(6)));
}

// --- Hooks -------------------------------------------------------------------------------------

// The stamp's elements follow character 3 of the print options.
void SwitchStamp(ReportForm &form, bool printed)
{
    for (FormBand &band : form.bands)
        for (FormElement &element : band.elements)
            if (element.name.startsWith(kStampPrefix))
                element.enabled = printed;
}

// Each band that holds a copy composes its own street label when it prints.
void ComposeStreetWhenPrinted(ReportForm &form, FormBand &band, int copy, const FormRecord &company)
{
    const QString name = kStampPrefix + "ulica_" + QString::number(copy);
    band.beforePrint = [&form, &company, name](FormBand &) {
        form.setCaption(name, CompanyStreetLine(company));
        return true;
    };
}

void SetReceiptOrPayout(ReportForm &form, const DocumentFormSources &sources, bool receipt, int copies, bool compressed)
{
    form.page.margins = {10, 10, 10, compressed ? 10.0 : 25.0};
    const double height = compressed ? 90 : 127.8;
    static const QString kMarks[] = {QStringLiteral("ORYGINAŁ"), QStringLiteral("KOPIA"), QStringLiteral("KOPIA")};
    for (int copy = 1; copy <= copies; ++copy) {
        CopyPlan plan;
        plan.receipt = receipt;
        plan.copy = copy;
        plan.rows = compressed ? 3 : 7;
        plan.rowOffset = copy == 1 ? 0 : copy == 2 ? 7 : 10;
        plan.mark = copies > 1 ? kMarks[copy - 1] : QString();
        plan.g = compressed ? &kCompressedCopy : &kFullCopy;
        BandKind kind = BandKind::Title;
        double bandHeight = height;
        if (copy > 1) {
            // The payout's two-copy form keeps the copy at the bottom of the page.
            kind = (!receipt && copies == 2) ? BandKind::PageFooter : BandKind::Child;
            if (!compressed) {
                bandHeight = 133;
                plan.dy = 3;
            }
        }
        FormBand &band = form.addBand(kind, bandHeight, "kopia" + QString::number(copy));
        AddDocumentCopy(band, plan);
        ComposeStreetWhenPrinted(form, band, copy, sources.company);
    }
}

} // namespace

QString CompanyStreetLine(const FormRecord &company)
{
    return Text(company, "ULICA") + QLatin1Char(' ') + Text(company, "NUMER") + QLatin1Char(' ') +
           Text(company, "LOKAL");
}

QString DocumentFormName(DocumentFormId id)
{
    switch (id) {
    case DocumentFormId::TKasaR11: return QStringLiteral("TKasaR11");
    case DocumentFormId::TKasaR1: return QStringLiteral("TKasaR1");
    case DocumentFormId::TKasaR41: return QStringLiteral("TKasaR41");
    case DocumentFormId::TKasaR31: return QStringLiteral("TKasaR31");
    case DocumentFormId::TKasaR3: return QStringLiteral("TKasaR3");
    case DocumentFormId::TKasaR32: return QStringLiteral("TKasaR32");
    case DocumentFormId::TKasar5: return QStringLiteral("TKasar5");
    case DocumentFormId::TKasar6: return QStringLiteral("TKasar6");
    }
    return QString();
}

std::unique_ptr<ReportForm> CreateDocumentForm(DocumentFormId id, const DocumentFormSources &sources)
{
    auto form = std::make_unique<ReportForm>(DocumentFormName(id));
    form->records.insert(kHeader, &sources.header);
    form->records.insert(kReport, &sources.report);
    form->records.insert(kCompany, &sources.company);
    form->page.baseFont = {QStringLiteral("Arial"), 10, false};
    const auto option = sources.printOption;
    form->beforePrint = [option](ReportForm &f) { SwitchStamp(f, option && option(3) == QLatin1Char('1')); };

    switch (id) {
    case DocumentFormId::TKasaR11: SetReceiptOrPayout(*form, sources, true, 1, false); break;
    case DocumentFormId::TKasaR1: SetReceiptOrPayout(*form, sources, true, 2, false); break;
    case DocumentFormId::TKasaR41: SetReceiptOrPayout(*form, sources, true, 3, true); break;
    case DocumentFormId::TKasaR31: SetReceiptOrPayout(*form, sources, false, 1, false); break;
    case DocumentFormId::TKasaR3: SetReceiptOrPayout(*form, sources, false, 2, false); break;
    case DocumentFormId::TKasaR32: SetReceiptOrPayout(*form, sources, false, 3, true); break;
    case DocumentFormId::TKasar5: {
        form->page.margins = {10, 10, 10, 13};
        form->page.baseFont = {QStringLiteral("Arial"), 7, false};
        FormBand &first = form->addBand(BandKind::Title, 136, "kopia1");
        AddSettlementCopy(first, {"A", "B", "C", "z2", "z3", "z4", "rozliczenie1", "rozliczenie2", "zwrot1", "wyplata1", 1});
        FormBand &second = form->addBand(BandKind::Summary, 136, "kopia2");
        AddSettlementCopy(second, {"d", "e", "f", "z1", "z31", "z41", "rozliczenie3", "rozliczenie4", "zwrot2", "wyplata2", 2});
        // The settlement's texts that read the document compose themselves when their copy prints.
        const FormRecord &header = sources.header;
        const FormRecord &report = sources.report;
        for (int copy = 1; copy <= 2; ++copy) {
            FormBand &band = copy == 1 ? first : second;
            const QString c = QString::number(copy);
            ReportForm *f = form.get();
            band.beforePrint = [f, &header, &report, c](FormBand &) {
                f->setCaption("pobranej" + c, QStringLiteral("pobranej  dnia ") + Text(header, "OUL") + QStringLiteral("r."));
                f->setCaption("przez" + c, QStringLiteral("przez ") + Text(header, "ONAZ1"));
                f->setCaption("rk" + c, QStringLiteral("RK ") + Text(report, "NUMER") + QLatin1Char('/') + Text(header, "POZ"));
                return true;
            };
        }
        form->beforePrint = [option](ReportForm &f) {
            SwitchStamp(f, option && option(3) == QLatin1Char('1'));
            f.band("kopia2")->enabled = option && option(4) == QLatin1Char('1');
        };
        break;
    }
    case DocumentFormId::TKasar6: {
        form->page.margins = {10, 10, 10, 13};
        form->page.baseFont = {QStringLiteral("Arial"), 8, false};
        FormBand &band = form->addBand(BandKind::Title, 155, "kopia1");
        AddRequest(band);
        ComposeStreetWhenPrinted(*form, band, 1, sources.company);
        break;
    }
    }
    return form;
}

ReportForm &DocumentForms::form(DocumentFormId id)
{
    auto found = forms_.find(id);
    if (found == forms_.end())
        found = forms_.emplace(id, CreateDocumentForm(id, sources_)).first;
    return *found->second;
}
