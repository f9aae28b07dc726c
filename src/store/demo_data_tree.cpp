#include "store/demo_data_tree.h"

#include "store/data_tree.h"
#include "store/demo_catalogue.h"
#include "store/demo_ledger.h"

namespace {

using Field = QPair<QString, QVariant>;

struct CurrencyNames {
    const char *designation;
    const char *units[3];    // one, two, ten units
    const char *subunits[3];
};

const CurrencyNames kCurrencies[] = {
    {"PLN", {"złoty", "złote", "złotych"}, {"grosz", "grosze", "groszy"}},
    {"EUR", {"euro", "euro", "euro"}, {"cent", "centy", "centów"}},
};

QString Utf8(const char *text) { return QString::fromUtf8(text); }

QList<TableRecord> CashDeskRecords()
{
    QList<TableRecord> records;
    for (const DemoCashDesk &desk : DemoCashDesks())
        records << TableRecord{{QStringLiteral("SYMBOL"), desk.symbol}, {QStringLiteral("NAZWA"), desk.name},
                               {QStringLiteral("KONTO"), desk.account}, {QStringLiteral("A2"), desk.currency}};
    return records;
}

// KOD is the order number of the currency, one digit.
QList<TableRecord> CurrencyRecords()
{
    QList<TableRecord> records;
    int order = 0;
    for (const CurrencyNames &c : kCurrencies)
        records << TableRecord{{QStringLiteral("KOD"), QString::number(++order)},
                               {QStringLiteral("WALUTA"), Utf8(c.designation)},
                               {QStringLiteral("Z1"), Utf8(c.units[0])}, {QStringLiteral("Z2"), Utf8(c.units[1])},
                               {QStringLiteral("Z3"), Utf8(c.units[2])}, {QStringLiteral("G1"), Utf8(c.subunits[0])},
                               {QStringLiteral("G2"), Utf8(c.subunits[1])}, {QStringLiteral("G3"), Utf8(c.subunits[2])},
                               {QStringLiteral("L1"), QVariant::fromValue(Money::fromCents(100))}};
    return records;
}

QList<TableRecord> AccountRecords()
{
    QList<TableRecord> records;
    for (const DemoAccount &account : DemoAccounts())
        records << TableRecord{{QStringLiteral("KOD"), account.code}, {QStringLiteral("NAZWA"), account.name}};
    return records;
}

QList<TableRecord> DescriptionRecords()
{
    QList<TableRecord> records;
    for (const DemoDescription &d : DemoDescriptions()) {
        TableRecord record{{QStringLiteral("RD"), d.kind}, {QStringLiteral("NAZWA"), d.text}};
        if (d.cents > 0)
            record << Field(QStringLiteral("CENA"), QVariant::fromValue(Money::fromCents(d.cents)));
        records << record;
    }
    return records;
}

QList<TableRecord> ContractorRecords()
{
    QList<TableRecord> records;
    int number = 0;
    for (const DemoContractor &c : DemoContractors())
        records << TableRecord{{QStringLiteral("NR"), ++number}, {QStringLiteral("NIP"), c.nip},
                               {QStringLiteral("SKROT"), c.shortName}, {QStringLiteral("NAZWA1"), c.name1},
                               {QStringLiteral("NAZWA2"), c.name2}, {QStringLiteral("KOD"), c.postalCode},
                               {QStringLiteral("MIEJSC"), c.town}, {QStringLiteral("UL"), c.street}};
    return records;
}

// A telephone number for each contractor, made up from its number.
QList<TableRecord> ContractorDetailRecords()
{
    QList<TableRecord> records;
    const int count = int(DemoContractors().size());
    for (int number = 1; number <= count; ++number)
        records << TableRecord{{QStringLiteral("NR"), number},
                               {QStringLiteral("Tel1"), QStringLiteral("22 %1 %2 %3")
                                                            .arg(600 + number * 7)
                                                            .arg(number % 90 + 10)
                                                            .arg((number * 37) % 90 + 10)}};
    return records;
}

// The first row (KOD "1") is the operator the program starts with.
QList<TableRecord> OperatorRecords()
{
    QList<TableRecord> records;
    int code = 0;
    for (const QString &name : DemoOperators())
        records << TableRecord{{QStringLiteral("KOD"), QString::number(++code)}, {QStringLiteral("NAZWISKO"), name}};
    return records;
}

} // namespace

TableRecord DemoCompanyFields()
{
    return {
        {QStringLiteral("NIP"), QStringLiteral("525-246-78-17")},
        {QStringLiteral("REGON"), QStringLiteral("146258372")},
        {QStringLiteral("SKROT"), QStringLiteral("ZEFIR")},
        {QStringLiteral("NAZWA1"), QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe")},
        {QStringLiteral("NAZWA2"), QStringLiteral("\"ZEFIR\" Spółka z o.o.")},
        {QStringLiteral("ULICA"), QStringLiteral("ul. Marszałkowska")},
        {QStringLiteral("NUMER"), QStringLiteral("24")},
        {QStringLiteral("LOKAL"), QStringLiteral("5")},
        {QStringLiteral("KOD"), QStringLiteral("00-576")},
        {QStringLiteral("POCZTA"), QStringLiteral("Warszawa")},
        {QStringLiteral("KRAJ"), QStringLiteral("Polska")},
        {QStringLiteral("WOJEWODZTWO"), QStringLiteral("mazowieckie")},
        {QStringLiteral("POWIAT"), QStringLiteral("Warszawa")},
        {QStringLiteral("GMINA"), QStringLiteral("Warszawa")},
        {QStringLiteral("MIEJSCOWOSC"), QStringLiteral("Warszawa")},
        {QStringLiteral("EMAIL"), QStringLiteral("biuro@zefir.example.pl")},
        {QStringLiteral("BANK"), QStringLiteral("Bank Spółdzielczy w Warszawie")},
        {QStringLiteral("NUM1"), QStringLiteral("12 1020 1026 0000 0402 0012 3456")},
        {QStringLiteral("URZAD"), QStringLiteral("Urząd Skarbowy Warszawa-Śródmieście")},
        {QStringLiteral("KAPITAL"), QStringLiteral("50 000,00 zł")},
        {QStringLiteral("OBRDATA"), QStringLiteral("01.01")},
    };
}

void FillDemoYear(Session &session, const QString &dataRoot, const QString &year, const QDate &today)
{
    auto path = [&](const char *relative) { return YearTablePath(dataRoot, year, QString::fromLatin1(relative)); };
    const DemoLedger ledger = BuildDemoLedger(year, today);
    AppendRecords(session, path("KASA\\KASA"), CashDeskRecords());
    AppendRecords(session, path("KASA\\RKASA"), ledger.reports);
    AppendRecords(session, path("KASA\\NAGKASA"), ledger.documents);
    AppendRecords(session, path("KASA\\OPISKASA"), DescriptionRecords());
    AppendRecords(session, path("FIN\\KONTRAHI"), ContractorRecords());
    AppendRecords(session, path("FIN\\KONTRAHO"), ContractorDetailRecords());
    AppendRecords(session, path("FIN\\WALUTA"), CurrencyRecords());
    AppendRecords(session, path("KSIEGA\\USER"), OperatorRecords());
    AppendRecords(session, path("SLOWNIKI\\KONTAK"), AccountRecords());
}
