#include "print/kwota_slownie.h"

#include <array>

namespace {

// The word table as the printouts have always used it (19 is printed "dziewiętanaście").
// Indexes 0, 20, 21 and 30 are empty.
constexpr std::array<const char *, 59> kWords{
    "", "jeden", "dwa", "trzy", "cztery", "pięć", "sześć", "siedem", "osiem", "dziewięć",
    "dziesięć", "jedenaście", "dwanaście", "trzynaście", "czternaście", "piętnaście",
    "szesnaście", "siedemnaście", "osiemnaście", "dziewiętanaście",
    "", "",
    "dwadzieścia", "trzydzieści", "czterdzieści", "pięćdziesiąt", "sześćdziesiąt",
    "siedemdziesiąt", "osiemdziesiąt", "dziewięćdziesiąt",
    "",
    "sto", "dwieście", "trzysta", "czterysta", "pięćset", "sześćset", "siedemset", "osiemset",
    "dziewięćset",
    "miliard", "miliardy", "miliardów",
    "milion", "miliony", "milionów",
    "tysiąc", "tysiące", "tysięcy",
    "ZER*", "JED*", "DWA*", "TRZ*", "CZT*", "PIE*", "SZE*", "SIE*", "OSI*", "DZI*",
};

constexpr int kTensBase = 20;
constexpr int kHundredsBase = 30;
constexpr int kGroupWordBase = 39;
constexpr int kAbbreviatedDigitBase = 49;
constexpr int kUnitsGroup = 3;

QString Word(int index) { return QString::fromUtf8(kWords[index]); }

// Grammatical form of the unit after a number: 1 singular, 2 after 2-4, 3 everything else.
enum class UnitForm { One = 1, Few = 2, Many = 3 };

struct NumberWords {
    QString text;
    UnitForm form = UnitForm::Many;
};

QString UnitName(UnitForm form, const QString &one, const QString &few, const QString &many)
{
    switch (form) {
    case UnitForm::One: return one;
    case UnitForm::Few: return few;
    case UnitForm::Many: break;
    }
    return many;
}

// Words of one group of three digits; the form follows its last one or two digits.
NumberWords GroupWords(int group)
{
    NumberWords words;
    if (group / 100 > 0)
        words.text += Word(group / 100 + kHundredsBase) + u' ';
    int rest = group % 100;
    if (rest > 19) {
        words.text += Word(rest / 10 + kTensBase) + u' ';
        rest %= 10;
    }
    if (rest > 0)
        words.text += Word(rest) + u' ';
    if (group == 1)
        words.form = UnitForm::One;
    else if (rest >= 2 && rest <= 4)
        words.form = UnitForm::Few;
    return words;
}

// Billions, millions, thousands, units; every word followed by one space.
NumberWords Words(qint64 n)
{
    if (n == 0)
        return {QStringLiteral("zero "), UnitForm::Many};

    constexpr std::array<qint64, 4> kGroupScale{1'000'000'000, 1'000'000, 1'000, 1};
    NumberWords result;
    for (int g = 0; g < int(kGroupScale.size()); ++g) {
        const int group = int(n / kGroupScale[g] % 1000);
        result.form = UnitForm::Many;
        if (group == 0)
            continue;
        const NumberWords groupWords = GroupWords(group);
        result.text += groupWords.text;
        result.form = groupWords.form;
        if (g < kUnitsGroup)
            result.text += Word(int(result.form) + g * 3 + kGroupWordBase) + u' ';
    }
    return result;
}

QString FullForm(bool groszeSlowami, qint64 whole, int hundredths, const CurrencyUnitNames &u)
{
    const NumberWords main = Words(whole);
    QString text = main.text + UnitName(main.form, u.z1, u.z2, u.z3) + u' ';
    if (!groszeSlowami) {
        if (hundredths > 0)
            text += QString::number(hundredths) + QStringLiteral("/100");
        return text;
    }
    const NumberWords sub = Words(hundredths);
    return text + u' ' + sub.text + UnitName(sub.form, u.g1, u.g2, u.g3) + u' ';
}

QString AbbreviatedDigits(const QString &digits)
{
    QString text;
    for (const QChar digit : digits)
        text += Word(digit.digitValue() + kAbbreviatedDigitBase);
    return text;
}

QString AbbreviatedForm(bool groszeSlowami, qint64 whole, int hundredths)
{
    QString text = QStringLiteral("*") + AbbreviatedDigits(QString::number(whole)) + QStringLiteral("ZŁ*");
    if (groszeSlowami)
        return text + AbbreviatedDigits(QStringLiteral("%1").arg(hundredths, 2, 10, QLatin1Char('0')))
               + QStringLiteral("GR*");
    return text + QString::number(hundredths) + QStringLiteral("/100");
}

} // namespace

CurrencyUnitNames CurrencyUnitNames::defaults()
{
    return {QStringLiteral("złoty"), QStringLiteral("złote"), QStringLiteral("złotych"),
            QStringLiteral("grosz"), QStringLiteral("grosze"), QStringLiteral("groszy")};
}

bool CurrencyUnitNames::isBlank() const
{
    for (const QString *name : {&z1, &z2, &z3, &g1, &g2, &g3})
        if (!name->trimmed().isEmpty())
            return false;
    return true;
}

std::optional<QString> KwotaSlownie(bool skrot, bool groszeSlowami, Money kwota,
                                    const CurrencyUnitNames &units)
{
    if (kwota.isNegative())
        return std::nullopt;
    // Rounding the whole amount first keeps the hundredths below one hundred: 5.995 is six units.
    const qint64 cents = kwota.roundedTo2().units() / (Money::kUnitsPerWhole / 100);
    const qint64 whole = cents / 100;
    const int hundredths = int(cents % 100);
    if (whole >= kKwotaSlownieLimitWhole)
        return std::nullopt;

    if (skrot)
        return AbbreviatedForm(groszeSlowami, whole, hundredths);
    return FullForm(groszeSlowami, whole, hundredths, units.isBlank() ? CurrencyUnitNames::defaults() : units);
}
