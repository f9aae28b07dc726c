#include "store/structure_listing.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char kCashReportListing[] =
    "STRUKTURA ZBIORU\r\n"
    "Pole:SYMBOL                                  Typ:01Obecnosc:FALSEWielkosc:5\r\n"
    "Pole:NUMER                                   Typ:03Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:OZNACZENIE                              Typ:01Obecnosc:FALSEWielkosc:20\r\n"
    "Pole:DATAOD                                  Typ:01Obecnosc:FALSEWielkosc:10\r\n"
    "Pole:DATADO                                  Typ:01Obecnosc:FALSEWielkosc:10\r\n"
    "Pole:BOWARTOSC                               Typ:07Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:BZWARTOSC                               Typ:07Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:ZAMKNIETY                               Typ:05Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:OSOBA                                   Typ:01Obecnosc:FALSEWielkosc:25\r\n"
    "Pole:L1                                      Typ:07Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:L2                                      Typ:07Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:L3                                      Typ:07Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:A1                                      Typ:01Obecnosc:FALSEWielkosc:50\r\n"
    "Pole:A2                                      Typ:01Obecnosc:FALSEWielkosc:10\r\n"
    "Pole:A3                                      Typ:01Obecnosc:FALSEWielkosc:10\r\n"
    "Pole:B1                                      Typ:05Obecnosc:FALSEWielkosc:0\r\n"
    "Pole:B2                                      Typ:05Obecnosc:FALSEWielkosc:0\r\n"
    "INDEKSY\r\n"
    "Nazwa:                                        Pole:SYMBOL;NUMER                            \r\n"
    "KONIEC\r\n";

// 1-based column slice, as the listing's columns are counted.
QByteArray Columns(const QByteArray &line, int first, int last) { return line.mid(first - 1, last - first + 1); }

QList<QByteArray> Lines(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
        line.chop(1);
    }
    return lines;
}

TableDefinition MixedTable()
{
    TableDefinition t;
    t.fields = {{"KWOTA", FieldType::Currency, 0, true},
                {"GRAF", static_cast<FieldType>(38), 3, false},
                {QString::fromUtf8("ŁĄKA"), FieldType::Memo, 240, false}};
    t.indexes = {{"", {"KWOTA"}, true, true, false},
                 {"Ninx", {"KWOTA", QString::fromUtf8("ŁĄKA")}, false, false, true}};
    return t;
}

} // namespace

TEST(StructureListing, CashReportTableIsWrittenByteForByte)
{
    EXPECT_EQ(StructureListingText(CashReportTableDefinition()), QByteArray(kCashReportListing));
}

TEST(StructureListing, FieldAndIndexColumnsAndEightBitNames)
{
    const QList<QByteArray> lines = Lines(StructureListingText(MixedTable()));
    ASSERT_EQ(lines.size(), 8);

    const QByteArray &required = lines[1];
    EXPECT_EQ(Columns(required, 1, 5), "Pole:");
    EXPECT_EQ(Columns(required, 6, 45), QByteArray("KWOTA").leftJustified(40, ' '));
    EXPECT_EQ(Columns(required, 46, 49), "Typ:");
    EXPECT_EQ(Columns(required, 50, 51), "07");
    EXPECT_EQ(Columns(required, 52, 65), "Obecnosc: TRUE");
    EXPECT_EQ(Columns(required, 66, 74), "Wielkosc:");
    EXPECT_EQ(required.mid(74), "0");

    // A type code beyond the known ones is written without "Typ:" and code.
    EXPECT_EQ(lines[2], QByteArray("Pole:GRAF").leftJustified(45, ' ') + "Obecnosc:FALSEWielkosc:3");

    // Polish letters are single Windows-1250 bytes, so the columns stay in place.
    EXPECT_EQ(Columns(lines[3], 6, 45), QByteArray("\xA3\xA5KA").leftJustified(40, ' '));
    EXPECT_EQ(Columns(lines[3], 46, 51), "Typ:16");
    EXPECT_EQ(lines[3].mid(74), "240");

    EXPECT_EQ(lines[4], "INDEKSY");
    const QByteArray &secondary = lines[6];
    EXPECT_EQ(Columns(secondary, 1, 6), "Nazwa:");
    EXPECT_EQ(Columns(secondary, 7, 46), QByteArray("Ninx").leftJustified(40, ' '));
    EXPECT_EQ(Columns(secondary, 47, 51), "Pole:");
    EXPECT_EQ(Columns(secondary, 52, 91), QByteArray("KWOTA;\xA3\xA5KA").leftJustified(40, ' '));
    EXPECT_EQ(secondary.size(), 91);
    EXPECT_EQ(lines[7], "KONIEC");
}

TEST(StructureListing, EveryTableReadsBackAsWritten)
{
    QList<TableDefinition> tables;
    for (const TableObjectEntry &entry : TableObjectRegistry())
        tables << entry.definition();
    tables << UsersTableDefinition() << ConvertedCashDocumentTableDefinition()
           << OldCashDeskTableDefinition() << OldCashDocumentTableDefinition();

    for (const TableDefinition &table : tables) {
        const auto parsed = ParseStructureListing(StructureListingText(table));
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, table) << StructureListingText(table).constData();
    }

    const TableDefinition mixed = MixedTable();
    const auto parsed = ParseStructureListing(StructureListingText(mixed));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->indexes, mixed.indexes);
    ASSERT_EQ(parsed->fields.size(), 3);
    EXPECT_EQ(parsed->fields[0], mixed.fields[0]);
    EXPECT_EQ(parsed->fields[1].name, "GRAF");
    EXPECT_EQ(parsed->fields[1].type, FieldType::Unknown);  // the code was not written
    EXPECT_EQ(parsed->fields[1].size, 3);
    EXPECT_EQ(parsed->fields[2], mixed.fields[2]);
}

TEST(StructureListing, IncompleteListingsGiveWhatTheyHold)
{
    const QByteArray full(kCashReportListing);
    const QByteArray withoutIndexes = full.left(full.indexOf("INDEKSY"));
    const auto noIndexes = ParseStructureListing(withoutIndexes);
    ASSERT_TRUE(noIndexes.has_value());
    EXPECT_TRUE(noIndexes->indexes.isEmpty());
    // Without the closing line the last line may be cut short and is not taken.
    EXPECT_EQ(noIndexes->fields.size(), CashReportTableDefinition().fields.size() - 1);

    const QByteArray withoutEnd = full.left(full.indexOf("KONIEC"));
    const auto cut = ParseStructureListing(withoutEnd);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->fields, CashReportTableDefinition().fields);
    EXPECT_TRUE(cut->indexes.isEmpty());

    const QByteArray indexCutShort = full.left(full.indexOf("SYMBOL;NUMER") + 8);
    EXPECT_TRUE(ParseStructureListing(indexCutShort)->indexes.isEmpty());

    EXPECT_FALSE(ParseStructureListing(QByteArray()).has_value());
    EXPECT_FALSE(ParseStructureListing("garbage\r\nINDEKSY\r\n").has_value());
}

TEST(StructureListing, WritesTheListingFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("RKASA.STR");
    ASSERT_TRUE(WriteStructureListingFile(path, CashReportTableDefinition()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(kCashReportListing));

    EXPECT_FALSE(WriteStructureListingFile(dir.filePath("missing/RKASA.STR"), CashReportTableDefinition()));
}
