#include "store/table_schemas.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QStringList FieldNames(const TableDefinition &t)
{
    QStringList names;
    for (const FieldDef &f : t.fields)
        names << f.name;
    return names;
}

QStringList Keys(const char *joined) { return QString::fromLatin1(joined).split(';'); }

IndexDef Secondary(const char *name, const char *keys) { return {name, Keys(keys), false, false, true}; }
IndexDef Primary(const char *keys) { return {"", Keys(keys), true, true, false}; }

QList<TableDefinition> AllDefinitions()
{
    return {ParameterTableDefinition(), UsersTableDefinition(), CompanyTableDefinition(),
            CashDeskTableDefinition(), CashReportTableDefinition(), CashDocumentTableDefinition(),
            PaymentDescriptionTableDefinition(), AccountTotalsTableDefinition(),
            ContractorTableDefinition(), ContractorDetailsTableDefinition(),
            CurrencyTableDefinition(), AccountTableDefinition(), OperatorListTableDefinition(),
            ConvertedCashDocumentTableDefinition(), OldCashDeskTableDefinition(),
            OldCashReportTableDefinition(), OldCashDocumentTableDefinition()};
}

} // namespace

TEST(TableSchemas, EveryTableIsWellFormed)
{
    // Names the suite gave its shared tables beyond the usual ten characters.
    const QSet<QString> longNames{"WOJEWODZTWO", "ZWOJEWODZTWO", "MIEJSCOWOSC", "ZMIEJSCOWOSC",
                                  "LOKALIZACJA"};
    for (const TableDefinition &t : AllDefinitions()) {
        const QStringList names = FieldNames(t);
        SCOPED_TRACE(names.join(',').toStdString());
        EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (const FieldDef &f : t.fields) {
            EXPECT_TRUE(f.name.size() <= 10 || longNames.contains(f.name)) << f.name.toStdString();
            EXPECT_FALSE(f.required);
            const bool sized = f.type == FieldType::Text || f.type == FieldType::Memo;
            EXPECT_EQ(f.size > 0, sized) << f.name.toStdString();
        }
        for (int i = 0; i < t.indexes.size(); ++i) {
            const IndexDef &index = t.indexes[i];
            // The key comes first, unnamed; every other index is named and case-insensitive.
            EXPECT_EQ(index.primary, i == 0);
            EXPECT_EQ(index.name.isEmpty(), index.primary);
            EXPECT_EQ(index.caseInsensitive, !index.primary);
            for (const QString &key : index.fields)
                EXPECT_TRUE(t.hasField(key)) << key.toStdString();
        }
    }
}

TEST(TableSchemas, CompanyTableKeepsTheSuitesFieldOrder)
{
    const TableDefinition t = CompanyTableDefinition();
    ASSERT_EQ(t.fields.size(), 68);
    const QList<std::pair<int, FieldDef>> spots{
        {1, {"NR", FieldType::Integer, 0}},        {7, {"SKROT", FieldType::Text, 50}},
        {21, {"WOJEWODZTWO", FieldType::Text, 30}}, {36, {"NUM3", FieldType::Text, 40}},
        {37, {"DRTYP", FieldType::Integer, 0}},    {42, {"DRPODZIAL", FieldType::Boolean, 0}},
        {49, {"OBRDATA", FieldType::Text, 5}},     {50, {"ARCHDATA", FieldType::Text, 10}},
        {56, {"ZAPAS4", FieldType::Float, 0}},     {59, {"ZULICA", FieldType::Text, 30}},
        {68, {"ZMIEJSCOWOSC", FieldType::Text, 30}},
    };
    for (const auto &[position, field] : spots)
        EXPECT_EQ(t.fields[position - 1], field) << position;
    EXPECT_EQ(t.indexes, (QList<IndexDef>{Primary("NR"), Secondary("Ninx", "SKROT")}));
}

TEST(TableSchemas, CashDocumentTableAndItsConvertedVariant)
{
    const TableDefinition t = CashDocumentTableDefinition();
    EXPECT_EQ(FieldNames(t).join(';'),
              "SYMBOL;NUMER;AUTO;RD;ROK;NRD;POZ;GLOWKA;DATA;KWOTA;ONR;ONAZ1;ONAZ2;OKOD;OMIEJSC;OUL;"
              "ONIP;TYT1;KONTO;KWOTAP;L1;L2;L3;A1;A2;A3;B1;B2");
    EXPECT_EQ(t.fields[t.fieldIndex("AUTO")].type, FieldType::AutoIncrement);
    EXPECT_EQ(t.fields[t.fieldIndex("TYT1")].size, 150);
    EXPECT_EQ(t.indexes, (QList<IndexDef>{
                             Primary("SYMBOL;NUMER;AUTO;RD;ROK;NRD"),
                             Secondary("Ainx", "NRD"),
                             Secondary("Dinx", "SYMBOL;NUMER;DATA;NRD"),
                             Secondary("Ninx", "SYMBOL;NUMER;ONAZ1"),
                             Secondary("Pinx", "SYMBOL;NUMER;POZ"),
                             Secondary("Rinx", "SYMBOL;NUMER;ROK;RD;NRD"),
                         }));

    TableDefinition converted = ConvertedCashDocumentTableDefinition();
    EXPECT_EQ(converted.fields[converted.fieldIndex("TYT1")].size, 50);
    converted.fields[converted.fieldIndex("TYT1")].size = 150;
    EXPECT_EQ(converted, t);
}

TEST(TableSchemas, SmallTablesAndOldReportFieldList)
{
    EXPECT_EQ(FieldNames(ParameterTableDefinition()).join(';'), "P1;P2;B3;L4;L5;ADATA;ACYKL");
    EXPECT_TRUE(ParameterTableDefinition().indexes.isEmpty());
    EXPECT_GE(ParameterTableDefinition().fields[1].size, 5);
    EXPECT_EQ(UsersTableDefinition().fields[0], (FieldDef{"LOGIN", FieldType::Text, 10}));
    EXPECT_EQ(FieldNames(CashReportTableDefinition()).join(';'),
              "SYMBOL;NUMER;OZNACZENIE;DATAOD;DATADO;BOWARTOSC;BZWARTOSC;ZAMKNIETY;OSOBA;"
              "L1;L2;L3;A1;A2;A3;B1;B2");
    EXPECT_EQ(CashReportTableDefinition().indexes, QList<IndexDef>{Primary("SYMBOL;NUMER")});
    EXPECT_EQ(FieldNames(OldCashReportTableDefinition()).join(';'),
              "AUTOKASA;NUMER;OZNACZENIE;AUTORK;DATAOD;DATADO;BOWARTOSC;BZWARTOSC;ZAMKNIETY;OSOBA");
    EXPECT_EQ(OldCashReportTableDefinition().fields[3].type, FieldType::AutoIncrement);
    EXPECT_EQ(ContractorTableDefinition().indexes,
              (QList<IndexDef>{Primary("NR"), Secondary("Ninx", "NIP"), Secondary("Sinx", "SKROT"),
                               Secondary("Minx", "MIEJSC")}));
    // The operator's name is written into the reports' OSOBA.
    const TableDefinition operators = OperatorListTableDefinition();
    EXPECT_LE(operators.fields[operators.fieldIndex("NAZWISKO")].size,
              CashReportTableDefinition().fields[CashReportTableDefinition().fieldIndex("OSOBA")].size);
    // Account numbers are copied into the documents' KONTO.
    EXPECT_EQ(AccountTableDefinition().fields[0], (FieldDef{"KOD", FieldType::Text, 12}));
}

TEST(TableSchemas, RegistryNamesEveryTableObjectWithItsPlace)
{
    const QStringList objects{"TFIRMA", "TPARA", "TKASA", "TRKASA", "TNAG", "TPOZ", "KNAG",
                              "TSLO", "TKONTA", "TWALUTA", "TKontrah", "TKONTRAHo", "TUSER", "TRAZEM"};
    for (const QString &name : objects) {
        const TableObjectEntry *entry = FindTableObject(name);
        ASSERT_NE(entry, nullptr) << name.toStdString();
        ASSERT_NE(entry->definition, nullptr);
        if (!entry->master.isEmpty())
            EXPECT_NE(FindTableObject(entry->master), nullptr);
        const TableDefinition t = entry->definition();
        bool indexKnown = entry->indexName.isEmpty();
        for (const IndexDef &index : t.indexes)
            indexKnown = indexKnown || index.name == entry->indexName;
        EXPECT_TRUE(indexKnown) << name.toStdString();
    }
    EXPECT_EQ(FindTableObject("tnag"), nullptr);

    const auto place = [](const char *object) {
        const TableLocation l = FindTableObject(object)->location;
        return std::pair{l.base, l.relativeName()};
    };
    EXPECT_EQ(place("TFIRMA"), std::pair(TableBase::DataRoot, QString("FIRMA")));
    EXPECT_EQ(place("TPARA"), std::pair(TableBase::WorkingFolder, QString("KASA")));
    EXPECT_EQ(place("TPOZ"), std::pair(TableBase::YearFolder, QString("KASA\\NAGKASA")));
    EXPECT_EQ(place("TKONTRAHo"), std::pair(TableBase::YearFolder, QString("FIN\\KONTRAHO")));
    EXPECT_EQ(place("TUSER"), std::pair(TableBase::YearFolder, QString("KSIEGA\\USER")));
    EXPECT_EQ(place("TKONTA"), std::pair(TableBase::YearFolder, QString("SLOWNIKI\\KONTAK")));
    EXPECT_EQ(UsersTableLocation().relativeName(), "BAZA\\USER");
    EXPECT_EQ(UsersTableLocation().base, TableBase::WorkingFolder);
}

TEST(TableSchemas, CalculatedFieldsAndDisplayFormats)
{
    const TableObjectEntry *reports = FindTableObject("TRKASA");
    EXPECT_EQ(reports->calculatedFields, (QList<CalculatedFieldDef>{{"TZAMKNIETY", FieldType::Text, 10}}));
    EXPECT_TRUE(reports->displayFormats.contains(FieldDisplayFormat{"BOWARTOSC", "### ### ##0.00"}));
    EXPECT_TRUE(reports->displayFormats.contains(FieldDisplayFormat{"BZWARTOSC", "### ### ##0.00"}));

    const TableObjectEntry *documents = FindTableObject("TNAG");
    EXPECT_EQ(documents->calculatedFields,
              (QList<CalculatedFieldDef>{{"WPRZY", FieldType::Currency, 0},
                                         {"WROZ", FieldType::Currency, 0},
                                         {"DOWOD", FieldType::Text, 30}}));
    const QList<FieldDisplayFormat> &formats = documents->displayFormats;
    for (const char *amount : {"KWOTA", "WPRZY", "WROZ"})
        EXPECT_TRUE(formats.contains(FieldDisplayFormat{amount, "### ### ##0.00"})) << amount;
    for (const char *plain : {"KWOTAP", "L1"})
        EXPECT_TRUE(formats.contains(FieldDisplayFormat{plain, "0.00"})) << plain;
    EXPECT_EQ(documents->master, "TRKASA");
    EXPECT_EQ(documents->linkFields, QStringList({"SYMBOL", "NUMER"}));
}
