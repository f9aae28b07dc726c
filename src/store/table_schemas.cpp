#include "store/table_schemas.h"

#include <algorithm>

namespace {

FieldDef Text(const char *name, int size) { return {QString::fromLatin1(name), FieldType::Text, size, false}; }
FieldDef Integer(const char *name) { return {QString::fromLatin1(name), FieldType::Integer, 0, false}; }
FieldDef Boolean(const char *name) { return {QString::fromLatin1(name), FieldType::Boolean, 0, false}; }
FieldDef Float(const char *name) { return {QString::fromLatin1(name), FieldType::Float, 0, false}; }
FieldDef Currency(const char *name) { return {QString::fromLatin1(name), FieldType::Currency, 0, false}; }
FieldDef AutoIncrement(const char *name) { return {QString::fromLatin1(name), FieldType::AutoIncrement, 0, false}; }
FieldDef Memo(const char *name, int storedSize) { return {QString::fromLatin1(name), FieldType::Memo, storedSize, false}; }

QStringList KeyFields(const char *joined) { return QString::fromLatin1(joined).split(QLatin1Char(';')); }

IndexDef PrimaryIndex(const char *keyFields)
{
    IndexDef index;
    index.fields = KeyFields(keyFields);
    index.primary = true;
    index.unique = true;
    return index;
}

IndexDef CaseInsensitiveIndex(const char *name, const char *keyFields)
{
    IndexDef index;
    index.name = QString::fromLatin1(name);
    index.fields = KeyFields(keyFields);
    index.caseInsensitive = true;
    return index;
}

// Reserve fields that close the cash-desk, report and document rows; in documents L1 and A1
// carry kind-specific values.
QList<FieldDef> ReserveFields()
{
    return {Currency("L1"), Currency("L2"), Currency("L3"),
            Text("A1", 50), Text("A2", 10), Text("A3", 10),
            Boolean("B1"), Boolean("B2")};
}

// The document row after its two link fields (desk and report in the current structure).
QList<FieldDef> CashDocumentFieldsAfterLink(int descriptionSize)
{
    QList<FieldDef> fields{
        AutoIncrement("AUTO"), Text("RD", 4), Text("ROK", 4), Integer("NRD"), Integer("POZ"),
        Boolean("GLOWKA"), Text("DATA", 10), Currency("KWOTA"), Text("ONR", 5),
        Text("ONAZ1", 50), Text("ONAZ2", 50), Text("OKOD", 6), Text("OMIEJSC", 35),
        Text("OUL", 35), Text("ONIP", 13), Text("TYT1", descriptionSize), Text("KONTO", 12),
        Currency("KWOTAP"),
    };
    return fields + ReserveFields();
}

TableDefinition CashDocumentTable(int descriptionSize)
{
    TableDefinition t;
    t.fields = QList<FieldDef>{Text("SYMBOL", 5), Integer("NUMER")}
               + CashDocumentFieldsAfterLink(descriptionSize);
    t.indexes = {
        PrimaryIndex("SYMBOL;NUMER;AUTO;RD;ROK;NRD"),
        CaseInsensitiveIndex("Ainx", "NRD"),
        CaseInsensitiveIndex("Dinx", "SYMBOL;NUMER;DATA;NRD"),
        CaseInsensitiveIndex("Ninx", "SYMBOL;NUMER;ONAZ1"),
        CaseInsensitiveIndex("Pinx", "SYMBOL;NUMER;POZ"),
        CaseInsensitiveIndex("Rinx", "SYMBOL;NUMER;ROK;RD;NRD"),
    };
    return t;
}

constexpr int kCurrentDescriptionSize = 150;
constexpr int kConvertedDescriptionSize = 50;

} // namespace

TableDefinition ParameterTableDefinition()
{
    TableDefinition t;
    // P1 holds the number pattern, P2 the option digits (at least five).
    t.fields = {Text("P1", 50), Text("P2", 10), Boolean("B3"), Integer("L4"), Integer("L5"),
                Text("ADATA", 10), Integer("ACYKL")};
    return t;
}

TableDefinition UsersTableDefinition()
{
    TableDefinition t;
    // The login is compared with at most 10 characters of the system's user name.
    t.fields = {Text("LOGIN", 10), Text("HASLO", 20), Text("NAZWISKO", 40), Integer("P0"),
                Integer("P9"), Text("LOKALIZACJA", 40), Text("DZIAL", 40), Text("TEL", 20)};
    t.indexes = {PrimaryIndex("LOGIN")};
    return t;
}

TableDefinition CompanyTableDefinition()
{
    TableDefinition t;
    t.fields = {
        Integer("NR"), Text("DR", 50), Text("NIP", 13), Text("REGON", 14), Text("PESEL", 11),
        Text("RHB", 50), Text("SKROT", 50), Text("NAZWA1", 50), Text("NAZWA2", 50),
        Text("NAZWISKO", 30), Text("IMIE", 20), Text("DATAUR", 10), Text("RD", 1),
        Text("NRD", 9), Text("ULICA", 30), Text("NUMER", 7), Text("LOKAL", 7), Text("KOD", 6),
        Text("POCZTA", 30), Text("KRAJ", 30), Text("WOJEWODZTWO", 30), Text("POWIAT", 30),
        Text("GMINA", 30), Text("MIEJSCOWOSC", 30), Text("EMAIL", 50), Text("WWW", 50),
        Text("RP", 1), Text("BANK", 40), Text("BANK2", 40), Text("BANK3", 40),
        Text("ADRES1", 40), Text("ADRES2", 40), Text("ADRES3", 40), Text("NUM1", 40),
        Text("NUM2", 40), Text("NUM3", 40),
        // Printer settings of the suite, carried along.
        Integer("DRTYP"), Integer("DRPORT"), Integer("DREKS"), Integer("DRRODZAJ"),
        Integer("DRPL"), Boolean("DRPODZIAL"), Integer("DRLEWY"), Integer("DRGORA"),
        Integer("DRLINIDOS"), Boolean("DRBUFOR"),
        Text("URZAD", 50), Text("KAPITAL", 30), Text("OBRDATA", 5), Text("ARCHDATA", 10),
        Integer("ARCHDNI"), Boolean("LOGO"), Text("ZAPAS1", 50), Text("ZAPAS2", 50),
        Integer("ZAPAS3"), Float("ZAPAS4"), Boolean("ZL1"), Boolean("ZL2"),
        // Second address.
        Text("ZULICA", 30), Text("ZNUMER", 7), Text("ZLOKAL", 7), Text("ZKOD", 6),
        Text("ZPOCZTA", 30), Text("ZKRAJ", 30), Text("ZWOJEWODZTWO", 30), Text("ZPOWIAT", 30),
        Text("ZGMINA", 30), Text("ZMIEJSCOWOSC", 30),
    };
    t.indexes = {PrimaryIndex("NR"), CaseInsensitiveIndex("Ninx", "SKROT")};
    return t;
}

TableDefinition CashDeskTableDefinition()
{
    TableDefinition t;
    t.fields = QList<FieldDef>{Text("SYMBOL", 5), Text("NAZWA", 50), Text("KONTO", 12)}
               + ReserveFields();
    t.indexes = {PrimaryIndex("SYMBOL")};
    return t;
}

TableDefinition CashReportTableDefinition()
{
    TableDefinition t;
    t.fields = QList<FieldDef>{Text("SYMBOL", 5), Integer("NUMER"), Text("OZNACZENIE", 20),
                               Text("DATAOD", 10), Text("DATADO", 10), Currency("BOWARTOSC"),
                               Currency("BZWARTOSC"), Boolean("ZAMKNIETY"), Text("OSOBA", 25)}
               + ReserveFields();
    t.indexes = {PrimaryIndex("SYMBOL;NUMER")};
    return t;
}

TableDefinition CashDocumentTableDefinition()
{
    return CashDocumentTable(kCurrentDescriptionSize);
}

TableDefinition ConvertedCashDocumentTableDefinition()
{
    return CashDocumentTable(kConvertedDescriptionSize);
}

TableDefinition PaymentDescriptionTableDefinition()
{
    TableDefinition t;
    t.fields = {Text("RD", 4), Text("NAZWA", 50), Currency("CENA")};
    t.indexes = {PrimaryIndex("RD;NAZWA")};
    return t;
}

TableDefinition AccountTotalsTableDefinition()
{
    TableDefinition t;
    t.fields = {Text("KONTO", 12), Currency("WN"), Currency("MA")};
    t.indexes = {PrimaryIndex("KONTO")};
    return t;
}

TableDefinition ContractorTableDefinition()
{
    TableDefinition t;
    t.fields = {Integer("NR"), Text("NIP", 13), Text("SKROT", 20), Text("NAZWA1", 50),
                Text("NAZWA2", 50), Text("KOD", 6), Text("MIEJSC", 35), Text("UL", 35),
                Text("BANK", 35), Text("NUM1", 2), Text("NUM2", 8), Text("NUM3", 30),
                Memo("ff", 10)};
    // The catalogue searches by number, tax number, short name and town.
    t.indexes = {PrimaryIndex("NR"), CaseInsensitiveIndex("Ninx", "NIP"),
                 CaseInsensitiveIndex("Sinx", "SKROT"), CaseInsensitiveIndex("Minx", "MIEJSC")};
    return t;
}

TableDefinition ContractorDetailsTableDefinition()
{
    TableDefinition t;
    t.fields = {Integer("NR"), Memo("OPIS", 240), Text("REGPES", 20), Text("Tel1", 20),
                Text("Tel2", 20), Text("FAX", 20), Text("EMAIL", 50), Text("WWW", 50),
                Text("OSKONT", 40), Text("OSVAT", 40), Text("OSODP", 40), Text("Wojew", 30),
                Currency("SALDO")};
    t.indexes = {PrimaryIndex("NR")};
    return t;
}

TableDefinition CurrencyTableDefinition()
{
    TableDefinition t;
    t.fields = {Text("KOD", 1), Text("WALUTA", 3),
                Text("Z1", 10), Text("Z2", 10), Text("Z3", 10),
                Text("G1", 10), Text("G2", 10), Text("G3", 10), Currency("L1")};
    t.indexes = {PrimaryIndex("KOD")};
    return t;
}

TableDefinition AccountTableDefinition()
{
    TableDefinition t;
    // KOD is copied into the documents' KONTO, so it holds at most 12 characters.
    t.fields = {Text("KOD", 12), Text("NAZWA", 50)};
    t.indexes = {PrimaryIndex("KOD")};
    return t;
}

TableDefinition OperatorListTableDefinition()
{
    TableDefinition t;
    // The operator's name goes into the reports' OSOBA, which holds 25 characters.
    t.fields = {Text("KOD", 10), Text("NAZWISKO", 25)};
    t.indexes = {PrimaryIndex("KOD")};
    return t;
}

TableDefinition OldCashDeskTableDefinition()
{
    TableDefinition t;
    t.fields = {Integer("AUTOKASA"), Text("NAZWA", 50), Text("KONTO", 12)};
    t.indexes = {PrimaryIndex("AUTOKASA")};
    return t;
}

TableDefinition OldCashReportTableDefinition()
{
    TableDefinition t;
    t.fields = {Integer("AUTOKASA"), Integer("NUMER"), Text("OZNACZENIE", 20),
                AutoIncrement("AUTORK"), Text("DATAOD", 10), Text("DATADO", 10),
                Currency("BOWARTOSC"), Currency("BZWARTOSC"), Boolean("ZAMKNIETY"),
                Text("OSOBA", 25)};
    t.indexes = {PrimaryIndex("AUTOKASA;AUTORK")};
    return t;
}

TableDefinition OldCashDocumentTableDefinition()
{
    TableDefinition t;
    t.fields = QList<FieldDef>{Integer("AUTOKASA"), Integer("AUTORK")}
               + CashDocumentFieldsAfterLink(kConvertedDescriptionSize);
    t.indexes = {PrimaryIndex("AUTOKASA;AUTORK;AUTO;RD;ROK;NRD")};
    return t;
}

QString TableLocation::relativeName() const
{
    QString name = fileName;
    if (name.endsWith(QStringLiteral(".DB"), Qt::CaseInsensitive))
        name.chop(3);
    return folder.isEmpty() ? name : folder + QLatin1Char('\\') + name;
}

namespace {

TableLocation InWorkingFolder(const char *folder, const char *fileName)
{
    return {TableBase::WorkingFolder, QString::fromLatin1(folder), QString::fromLatin1(fileName)};
}

TableLocation InDataRoot(const char *fileName)
{
    return {TableBase::DataRoot, QString(), QString::fromLatin1(fileName)};
}

TableLocation InYearFolder(const char *folder, const char *fileName)
{
    return {TableBase::YearFolder, QString::fromLatin1(folder), QString::fromLatin1(fileName)};
}

// Every money column is shown as an amount; the listed ones plainly.
QList<FieldDisplayFormat> AmountFormats(const TableDefinition &table,
                                        const QList<CalculatedFieldDef> &calculated,
                                        const QStringList &plainFields = {})
{
    QStringList moneyFields;
    for (const FieldDef &f : table.fields)
        if (f.type == FieldType::Currency)
            moneyFields << f.name;
    for (const CalculatedFieldDef &f : calculated)
        if (f.type == FieldType::Currency)
            moneyFields << f.name;

    QList<FieldDisplayFormat> formats;
    for (const QString &name : moneyFields) {
        const bool plain = plainFields.contains(name);
        formats.append({name, QString::fromLatin1(plain ? kPlainAmountDisplayFormat
                                                        : kAmountDisplayFormat)});
    }
    return formats;
}

QList<TableObjectEntry> BuildRegistry()
{
    const QList<CalculatedFieldDef> reportCalculated{{QStringLiteral("TZAMKNIETY"), FieldType::Text, 10}};
    const QList<CalculatedFieldDef> documentCalculated{
        {QStringLiteral("WPRZY"), FieldType::Currency, 0},
        {QStringLiteral("WROZ"), FieldType::Currency, 0},
        {QStringLiteral("DOWOD"), FieldType::Text, 30},
    };
    const QStringList link1{QStringLiteral("SYMBOL")};
    const QStringList link2{QStringLiteral("SYMBOL"), QStringLiteral("NUMER")};

    QList<TableObjectEntry> r;
    r.append({"TFIRMA", InDataRoot("FIRMA.DB"), &CompanyTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TPARA", InWorkingFolder("", "KASA.DB"), &ParameterTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TKASA", InYearFolder("KASA", "KASA.DB"), &CashDeskTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TRKASA", InYearFolder("KASA", "RKASA.DB"), &CashReportTableDefinition,
              "TKASA", link1, {}, reportCalculated,
              AmountFormats(CashReportTableDefinition(), reportCalculated)});
    r.append({"TNAG", InYearFolder("KASA", "NAGKASA.DB"), &CashDocumentTableDefinition,
              "TRKASA", link2, "Pinx", documentCalculated,
              AmountFormats(CashDocumentTableDefinition(), documentCalculated,
                            {QStringLiteral("KWOTAP"), QStringLiteral("L1")})});
    r.append({"TPOZ", InYearFolder("KASA", "NAGKASA.DB"), &CashDocumentTableDefinition,
              "TNAG", KeyFields("SYMBOL;NUMER;ROK;RD;NRD"), "Rinx", {}, {}});
    r.append({"KNAG", InYearFolder("KASA", "NAGKASA.DB"), &CashDocumentTableDefinition,
              {}, {}, "Ainx", {}, {}});
    r.append({"TSLO", InYearFolder("KASA", "OPISKASA.DB"), &PaymentDescriptionTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TKONTA", InYearFolder("SLOWNIKI", "KONTAK.DB"), &AccountTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TWALUTA", InYearFolder("FIN", "WALUTA.DB"), &CurrencyTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TKontrah", InYearFolder("FIN", "KONTRAHI.DB"), &ContractorTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TKONTRAHo", InYearFolder("FIN", "KONTRAHO.DB"), &ContractorDetailsTableDefinition,
              "TKontrah", {QStringLiteral("NR")}, {}, {}, {}});
    r.append({"TUSER", InYearFolder("KSIEGA", "USER.DB"), &OperatorListTableDefinition, {}, {}, {}, {}, {}});
    r.append({"TRAZEM", InYearFolder("KASA", "RAZEM.DB"), &AccountTotalsTableDefinition, {}, {}, {}, {}, {}});
    // Opened on the report table only to recognise the oldest structure.
    r.append({"TRKASAS", InYearFolder("KASA", "RKASA.DB"), &OldCashReportTableDefinition, {}, {}, {}, {}, {}});
    return r;
}

} // namespace

const QList<TableObjectEntry> &TableObjectRegistry()
{
    static const QList<TableObjectEntry> registry = BuildRegistry();
    return registry;
}

const TableObjectEntry *FindTableObject(const QString &objectName)
{
    for (const TableObjectEntry &entry : TableObjectRegistry())
        if (entry.objectName == objectName)
            return &entry;
    return nullptr;
}

TableLocation UsersTableLocation()
{
    return InWorkingFolder("BAZA", "USER.DB");
}

namespace {

bool HasEveryField(const TableDefinition &table, const TableDefinition &wanted)
{
    for (const FieldDef &field : wanted.fields)
        if (!std::any_of(table.fields.cbegin(), table.fields.cend(),
                         [&](const FieldDef &f) { return f.name.compare(field.name, Qt::CaseInsensitive) == 0; }))
            return false;
    return true;
}

} // namespace

std::optional<TableDefinition> ProgramDefinitionOfTable(const QString &tablePath, const TableDefinition &stored)
{
    QString path = QString(tablePath).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
        path += QStringLiteral(".DB");
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString fileName = parts.value(parts.size() - 1);
    const QString folder = parts.value(parts.size() - 2);
    // Tables in a module folder first: a working folder may itself be called "KASA".
    for (const bool inModuleFolder : {true, false})
        for (const TableObjectEntry &entry : TableObjectRegistry()) {
            const TableLocation &at = entry.location;
            if (!entry.definition || at.folder.isEmpty() == inModuleFolder
                || at.fileName.compare(fileName, Qt::CaseInsensitive) != 0
                || (inModuleFolder && at.folder.compare(folder, Qt::CaseInsensitive) != 0))
                continue;
            const TableDefinition definition = entry.definition();
            if (HasEveryField(stored, definition))
                return definition;
        }
    return std::nullopt;
}
