#include "store/demo_ledger.h"

#include "store/demo_catalogue.h"

#include <QHash>
#include <QRandomGenerator>
#include <algorithm>
#include <optional>

namespace {

const char *const kDateFormat = "yyyy.MM.dd";
const QString kKP = QStringLiteral("KP");
const QString kKW = QStringLiteral("KW");
const QString kKPD = QStringLiteral("KPD");
const QString kKWD = QStringLiteral("KWD");
const QString kWZ = QStringLiteral("WZ");
const QString kRZ = QStringLiteral("RZ");
const QString kAdvanceAccount = QStringLiteral("234");
const QString kBankAccount = QStringLiteral("130");

QVariant Value(Money amount) { return QVariant::fromValue(amount); }
QPair<QString, QVariant> Set(const char *field, const QVariant &value) { return {QString::fromLatin1(field), value}; }
QString DateText(const QDate &day) { return day.toString(QLatin1String(kDateFormat)); }
Money Part(Money amount, int divisor) { return Money::fromUnits(amount.units() / divisor); }
// Bank transfers are round sums.
Money DownToHundreds(Money amount) { return Money::fromCents(amount.units() / 1000000 * 10000); }

// The account a line with this description is booked to.
QString AccountOf(const QString &kind, const QString &description)
{
    static const QHash<QString, QString> byDescription{
        {QStringLiteral("Wpłata za fakturę"), QStringLiteral("201")},
        {QStringLiteral("Utarg dzienny"), QStringLiteral("700")},
        {QStringLiteral("Pobrano z banku"), kBankAccount},
        {QStringLiteral("Zwrot zaliczki"), kAdvanceAccount},
        {QStringLiteral("Opłata za wynajem sali"), QStringLiteral("730")},
        {QStringLiteral("Zakup materiałów biurowych"), QStringLiteral("401")},
        {QStringLiteral("Wpłata do banku"), kBankAccount},
        {QStringLiteral("Opłata pocztowa"), QStringLiteral("402")},
        {QStringLiteral("Zakup paliwa"), QStringLiteral("401")},
        {QStringLiteral("Wypłata wynagrodzenia"), QStringLiteral("404")},
        {QStringLiteral("Delegacja krajowa - dieta"), QStringLiteral("409")},
        {QStringLiteral("Zapłata za fakturę"), QStringLiteral("202")},
        {QStringLiteral("Zakup materiałów"), QStringLiteral("401")},
    };
    if (const auto it = byDescription.constFind(description); it != byDescription.cend())
        return it.value();
    if (kind == kWZ)
        return kAdvanceAccount;
    if (kind == kKP || kind == kKPD)
        return QStringLiteral("201");
    return kind == kKW || kind == kKWD ? QStringLiteral("202") : QStringLiteral("409");
}

// Money between the desk and the bank moves only when the desk holds too much or too little.
bool IsBankTransfer(const QString &description) { return description.contains(QStringLiteral("banku")); }

bool IsPayout(const QString &kind) { return kind == kKW || kind == kKWD || kind == kWZ; }

struct Line {
    QString text;
    QString account;
    Money amount;
};

// A paid-out advance waiting for its settlement.
struct Advance {
    QString number; // as printed: "WZ 3"
    QString date;
    QString name;
    Money amount;
};

Money Total(const QList<Line> &lines)
{
    Money sum;
    for (const Line &line : lines)
        sum += line.amount;
    return sum;
}

// One desk's year, month after month.
class DeskYear {
public:
    DeskYear(const DemoCashDesk &desk, int year, quint32 seed, DemoLedger &out)
        : desk_(desk), year_(year), random_(seed), out_(out), balance_(desk.openingBalance),
          contractors_(DemoContractors()), descriptions_(DemoDescriptions()), operators_(DemoOperators())
    {
    }

    void addReport(int month, const QDate &lastDocumentDay, bool closed);

private:
    int between(int low, int high) { return low >= high ? low : int(random_.bounded(low, high + 1)); }
    Money amountBetween(Money low, Money high);
    QList<QDate> documentDays(const QDate &from, const QDate &to, int count);
    QString chooseKind(bool advanceWaiting);
    QList<Line> linesFor(const QString &kind);
    QList<Line> bankTransfer(const QString &kind, Money amount);
    void fitUnder(QList<Line> &lines, Money cap);
    QList<Line> splitExpenses(Money total);
    int anEmployee();
    // A payout takes at most 70% of the cash, in whole grosze.
    Money payoutCap() const { return Money::fromCents(balance_.units() / 100 * 7 / 10); }

    TableRecord header(const QString &kind, int number, int place, const QDate &day) const;
    TableRecord lineRow(const QString &kind, int number, const Line &line) const;
    TableRecord contractorFields(int index) const;
    TableRecord advanceRequestFields(int number, const QDate &day, Money total);
    TableRecord receiptOrPayoutFields(const QString &kind, int number, const QList<Line> &lines);
    void addDocument(const QString &kind, int place, const QDate &day);
    void addDocument(const QString &kind, int place, const QDate &day, const QList<Line> &lines);
    void addAdvanceSettlement(int place, const QDate &day);

    const DemoCashDesk &desk_;
    const int year_;
    QRandomGenerator random_;
    DemoLedger &out_;
    Money balance_;
    int report_ = 0;
    QHash<QString, int> lastNumber_;
    QList<Advance> advances_;
    const QList<DemoContractor> contractors_;
    const QList<DemoDescription> descriptions_;
    const QStringList operators_;
};

Money DeskYear::amountBetween(Money low, Money high)
{
    const qint64 lowCents = low.units() / 100;
    const qint64 highCents = std::max(lowCents, high.units() / 100);
    return Money::fromCents(lowCents + qint64(random_.bounded(quint64(highCents - lowCents + 1))));
}

// Advances go to people: a contractor without a company's second name line.
int DeskYear::anEmployee()
{
    const int start = between(0, int(contractors_.size()) - 1);
    for (int i = 0; i < contractors_.size(); ++i) {
        const int at = (start + i) % int(contractors_.size());
        if (contractors_[at].name2.isEmpty())
            return at;
    }
    return start;
}

QList<QDate> DeskYear::documentDays(const QDate &from, const QDate &to, int count)
{
    QList<QDate> days;
    const int span = int(from.daysTo(to));
    for (int i = 0; i < count; ++i)
        days << from.addDays(between(0, span));
    std::sort(days.begin(), days.end());
    return days;
}

QString DeskYear::chooseKind(bool advanceWaiting)
{
    struct Weight { const QString &kind; int weight; };
    const bool canPay = balance_ >= desk_.smallestLine * 5;
    const Weight weights[] = {{kKP, 34}, {kKW, canPay ? 30 : 0}, {kKPD, 8}, {kKWD, canPay ? 8 : 0},
                              {kWZ, canPay ? 8 : 0}, {kRZ, advanceWaiting ? 12 : 0}};
    int total = 0;
    for (const Weight &w : weights)
        total += w.weight;
    int pick = between(1, total);
    for (const Weight &w : weights) {
        pick -= w.weight;
        if (pick <= 0)
            return w.kind;
    }
    return kKP;
}

// One to three lines from the kind's descriptions, each with its default amount when the
// dictionary gives one. A text about an invoice may repeat with another invoice number.
QList<Line> DeskYear::linesFor(const QString &kind)
{
    QList<DemoDescription> pool;
    for (const DemoDescription &d : descriptions_)
        if (d.kind == kind && !IsBankTransfer(d.text))
            pool << d;
    QList<Line> lines;
    const int wanted = between(1, 3);
    while (lines.size() < wanted && !pool.isEmpty()) {
        const int at = between(0, int(pool.size()) - 1);
        const DemoDescription description = pool[at];
        const bool aboutInvoice = description.text.contains(QStringLiteral("fakturę"));
        if (!aboutInvoice)
            pool.removeAt(at);
        Line line;
        line.text = description.text;
        line.account = AccountOf(kind, description.text);
        if (aboutInvoice)
            line.text += QStringLiteral(" FV %1/%2").arg(between(1, 480)).arg(year_);
        line.amount = description.cents > 0 ? Money::fromCents(description.cents)
                                            : amountBetween(desk_.smallestLine, desk_.largestLine);
        lines << line;
    }
    if (lines.isEmpty()) {
        const QString text = kind == kKP || kind == kKPD ? QStringLiteral("Wpłata") : QStringLiteral("Wypłata");
        lines << Line{text, AccountOf(kind, text), amountBetween(desk_.smallestLine, desk_.largestLine)};
    }
    return lines;
}

QList<Line> DeskYear::bankTransfer(const QString &kind, Money amount)
{
    const QString text = kind == kKP ? QStringLiteral("Pobrano z banku") : QStringLiteral("Wpłata do banku");
    return {Line{text, kBankAccount, amount}};
}

// A payout never takes more than the cap: extra lines go first, then the amount shrinks.
void DeskYear::fitUnder(QList<Line> &lines, Money cap)
{
    while (lines.size() > 1 && Total(lines) > cap)
        lines.removeLast();
    if (lines.first().amount > cap)
        lines.first().amount = amountBetween(Part(cap, 3), cap);
}

// The expenses of a settlement: one to three of the kind's texts sharing the total.
QList<Line> DeskYear::splitExpenses(Money total)
{
    QList<Line> lines = linesFor(kRZ);
    qint64 left = total.units() / 100;
    for (int i = 0; i < lines.size(); ++i) {
        const bool last = i == lines.size() - 1;
        const qint64 share = last ? left : std::max<qint64>(1, left * between(20, 60) / 100);
        lines[i].amount = Money::fromCents(share);
        left -= share;
        if (left <= 0) {
            lines.resize(i + 1);
            break;
        }
    }
    return lines;
}

TableRecord DeskYear::header(const QString &kind, int number, int place, const QDate &day) const
{
    return {Set("SYMBOL", desk_.symbol), Set("NUMER", report_), Set("RD", kind), Set("ROK", QString::number(year_)),
            Set("NRD", number), Set("POZ", place), Set("GLOWKA", true), Set("DATA", DateText(day))};
}

TableRecord DeskYear::lineRow(const QString &kind, int number, const Line &line) const
{
    return {Set("SYMBOL", desk_.symbol), Set("NUMER", report_), Set("RD", kind), Set("ROK", QString::number(year_)),
            Set("NRD", number), Set("GLOWKA", false), Set("TYT1", line.text), Set("KONTO", line.account),
            Set("KWOTAP", Value(line.amount))};
}

TableRecord DeskYear::contractorFields(int index) const
{
    const DemoContractor &c = contractors_[index];
    return {Set("ONR", QString::number(index + 1)), Set("ONAZ1", c.name1), Set("ONAZ2", c.name2),
            Set("OKOD", c.postalCode), Set("OMIEJSC", c.town), Set("OUL", c.street), Set("ONIP", c.nip)};
}

void DeskYear::addDocument(const QString &kind, int place, const QDate &day)
{
    QList<Line> lines = linesFor(kind);
    if (IsPayout(kind))
        fitUnder(lines, payoutCap());
    addDocument(kind, place, day, lines);
}

// Receipts and payouts carry their first line in the header itself; an advance request keeps
// every line in line rows and the header only repeats the first text.
void DeskYear::addDocument(const QString &kind, int place, const QDate &day, const QList<Line> &lines)
{
    const int number = ++lastNumber_[kind];
    const Money total = Total(lines);
    TableRecord head = header(kind, number, place, day);
    head << Set("KWOTA", Value(total)) << Set("TYT1", lines.first().text);
    if (kind == kWZ)
        head << advanceRequestFields(number, day, total);
    else
        head << receiptOrPayoutFields(kind, number, lines);
    out_.documents << head;
    for (int i = kind == kWZ ? 0 : 1; i < lines.size(); ++i)
        out_.documents << lineRow(kind, number, lines[i]);
    balance_ += SignedDocumentAmount(kind, QString(), total);
}

// The employee taking the advance, which then waits for its settlement.
TableRecord DeskYear::advanceRequestFields(int number, const QDate &day, Money total)
{
    static const QStringList titles{QStringLiteral("Zaopatrzeniowiec"), QStringLiteral("Kierowca"),
                                    QStringLiteral("Przedstawiciel handlowy"), QStringLiteral("Magazynier")};
    const int employee = anEmployee();
    advances_.append({QStringLiteral("WZ %1").arg(number), DateText(day), contractors_[employee].name1, total});
    return contractorFields(employee) << Set("A1", titles[between(0, int(titles.size()) - 1)])
                                      << Set("KONTO", kAdvanceAccount);
}

// Cash carried to or from the bank names no contractor; KPD and KWD carry the number the
// operator typed.
TableRecord DeskYear::receiptOrPayoutFields(const QString &kind, int number, const QList<Line> &lines)
{
    TableRecord fields{Set("KONTO", lines.first().account), Set("KWOTAP", Value(lines.first().amount))};
    if (lines.first().account != kBankAccount)
        fields << contractorFields(between(0, int(contractors_.size()) - 1));
    if (kind == kKPD || kind == kKWD)
        fields << Set("A1", QStringLiteral("%1/%2/%3").arg(kind.left(2)).arg(number, 3, 10, QLatin1Char('0')).arg(year_));
    return fields;
}

// Settles the oldest advance: the employee returns what was not spent, or the desk pays out
// what was spent beyond it (never more than the desk holds).
void DeskYear::addAdvanceSettlement(int place, const QDate &day)
{
    const Advance advance = advances_.takeFirst();
    Money spent = Money::fromCents(advance.amount.units() / 100 * between(55, 115) / 100);
    if (spent > advance.amount && spent - advance.amount > payoutCap())
        spent = advance.amount;
    const QList<Line> lines = splitExpenses(spent);
    const Money difference = advance.amount - spent;
    const QString sign = difference.isNegative() ? QStringLiteral("-") : QStringLiteral("+");
    const Money amount = difference.isNegative() ? -difference : difference;
    const int number = ++lastNumber_[kRZ];

    // ONR counts the attachments; OMIEJSC and OUL name the advance document and its date.
    TableRecord head = header(kRZ, number, place, day);
    head << Set("ONR", QString::number(lines.size())) << Set("ONAZ1", advance.name) << Set("OKOD", sign)
         << Set("OMIEJSC", advance.number) << Set("OUL", advance.date) << Set("L1", Value(advance.amount))
         << Set("KWOTAP", Value(spent)) << Set("KWOTA", Value(amount)) << Set("TYT1", lines.first().text)
         << Set("KONTO", kAdvanceAccount);
    out_.documents << head;
    for (const Line &line : lines)
        out_.documents << lineRow(kRZ, number, line);
    balance_ += SignedDocumentAmount(kRZ, sign, amount);
}

void DeskYear::addReport(int month, const QDate &lastDocumentDay, bool closed)
{
    ++report_;
    const QDate from(year_, month, 1);
    const Money opening = balance_;
    const int days = int(from.daysTo(lastDocumentDay)) + 1;
    const int count = std::max(1, (desk_.documentsPerMonth + between(-2, 2)) * days / from.daysInMonth());

    int place = 0;
    for (const QDate &day : documentDays(from, lastDocumentDay, count)) {
        ++place;
        if (balance_ > desk_.cashLimit)
            addDocument(kKW, place, day, bankTransfer(kKW, DownToHundreds(balance_ - Part(desk_.cashLimit, 2))));
        else if (balance_ < desk_.smallestLine * 5)
            addDocument(kKP, place, day, bankTransfer(kKP, DownToHundreds(Part(desk_.cashLimit, 3))));
        else if (const QString kind = chooseKind(!advances_.isEmpty()); kind == kRZ)
            addAdvanceSettlement(place, day);
        else
            addDocument(kind, place, day);
    }

    TableRecord report{Set("SYMBOL", desk_.symbol), Set("NUMER", report_),
                       Set("OZNACZENIE", QStringLiteral("RK/%1/%2").arg(month, 2, 10, QLatin1Char('0')).arg(year_)),
                       Set("DATAOD", DateText(from)), Set("BOWARTOSC", Value(opening)), Set("ZAMKNIETY", closed)};
    if (closed)
        report << Set("DATADO", DateText(QDate(year_, month, from.daysInMonth()))) << Set("BZWARTOSC", Value(balance_))
               << Set("OSOBA", operators_[(month - 1) % operators_.size()]);
    out_.reports << report;
}

} // namespace

QList<DemoCashDesk> DemoCashDesks()
{
    return {
        {QStringLiteral("KAS1"), QStringLiteral("Kasa główna"), QStringLiteral("100"), QStringLiteral("PLN"),
         Money::fromCents(425000), 24, Money::fromCents(2000), Money::fromCents(150000), Money::fromCents(2000000)},
        {QStringLiteral("WAL"), QStringLiteral("Kasa walutowa EUR"), QStringLiteral("101"), QStringLiteral("EUR"),
         Money::fromCents(80000), 6, Money::fromCents(1000), Money::fromCents(40000), Money::fromCents(300000)},
    };
}

Money SignedDocumentAmount(const QString &kind, const QString &settlementSign, Money amount)
{
    const bool receipt = kind == kKP || kind == kKPD || (kind == kRZ && settlementSign == QLatin1String("+"));
    return receipt ? amount : -amount;
}

DemoLedger BuildDemoLedger(const QString &year, const QDate &today)
{
    const int y = year.toInt();
    const int lastMonth = y == today.year() ? today.month() : (y < today.year() ? 12 : 1);
    DemoLedger ledger;
    const QList<DemoCashDesk> desks = DemoCashDesks();
    for (int d = 0; d < desks.size(); ++d) {
        DeskYear deskYear(desks[d], y, quint32(y * 100 + d), ledger);
        for (int month = 1; month <= lastMonth; ++month) {
            const bool closed = month < lastMonth;
            const QDate monthEnd(y, month, QDate(y, month, 1).daysInMonth());
            const QDate lastDay = closed ? monthEnd : std::clamp(today, QDate(y, month, 1), monthEnd);
            deskYear.addReport(month, lastDay, closed);
        }
    }
    return ledger;
}
