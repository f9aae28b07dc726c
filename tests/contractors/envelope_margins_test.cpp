#include "contractors/envelope_layout.h"
#include "contractors/envelope_margins.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

QByteArray Record(double top, double left)
{
    QByteArray bytes(16, '\0');
    // The record is little-endian whatever the machine: written byte by byte here.
    for (const auto &[offset, value] : {std::pair{0, top}, std::pair{8, left}}) {
        quint64 bits = 0;
        std::memcpy(&bits, &value, 8);
        for (int i = 0; i < 8; ++i)
            bytes[offset + i] = char((bits >> (8 * i)) & 0xFF);
    }
    return bytes;
}

class EnvelopeMarginsTest : public ::testing::Test {
protected:
    QString path() const { return MarginsFilePath(folder.path()); }
    void writeBytes(const QByteArray &bytes)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

TEST_F(EnvelopeMarginsTest, TopThenLeftAsSixteenLittleEndianBytes)
{
    EXPECT_TRUE(path().endsWith("/Margines.dan"));
    EXPECT_EQ(WriteEnvelopeMargins(path(), {25.0, 40.0}), "");
    EXPECT_EQ(bytes(), Record(25.0, 40.0));
    EXPECT_EQ(bytes().toHex(), "00000000000039400000000000004440");
    const MarginsReading reading = ReadEnvelopeMargins(path());
    EXPECT_EQ(reading.status, MarginsReading::Status::Read);
    EXPECT_EQ(reading.margins, (EnvelopeMargins{25.0, 40.0}));

    // Rewritten whole: one record, whatever was there.
    writeBytes(Record(1, 2) + Record(3, 4));
    EXPECT_EQ(WriteEnvelopeMargins(path(), {12.5, 0}), "");
    EXPECT_EQ(bytes(), Record(12.5, 0));
}

TEST_F(EnvelopeMarginsTest, AMissingOrDamagedFileGivesTheDefaults)
{
    EXPECT_EQ(ReadEnvelopeMargins(path()).status, MarginsReading::Status::Missing);
    EXPECT_EQ(ReadEnvelopeMargins(path()).margins, (EnvelopeMargins{10, 10}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QList<QByteArray> damaged{QByteArray(), Record(25, 40).left(15), Record(nan, 10), Record(10, inf),
                                    Record(-1, 10),  Record(10, -0.5),       Record(216, 10), Record(10, 279),
                                    QByteArray("0123456789abcdef")};
    for (const QByteArray &content : damaged) {
        SCOPED_TRACE(content.toHex().toStdString());
        writeBytes(content);
        const MarginsReading reading = ReadEnvelopeMargins(path());
        EXPECT_EQ(reading.status, MarginsReading::Status::Damaged);
        EXPECT_EQ(reading.margins, (EnvelopeMargins{10, 10}));
    }
    // Only the first record counts.
    writeBytes(Record(5, 6) + QByteArray("trailing"));
    EXPECT_EQ(ReadEnvelopeMargins(path()).margins, (EnvelopeMargins{5, 6}));
}

TEST_F(EnvelopeMarginsTest, MarginsOffThePaperAreNotWrittenAndTheOldFileStays)
{
    ASSERT_EQ(WriteEnvelopeMargins(path(), {25, 40}), "");
    EXPECT_EQ(WriteEnvelopeMargins(path(), {-1, 40}),
              "Margines górny musi być liczbą nieujemną mniejszą niż 28,9 mm (większy wyprowadza adres poza stronę).");
    // A margin that would put the address off the page.
    for (const double left : {279.0, 97.6})
        EXPECT_EQ(WriteEnvelopeMargins(path(), {25, left}),
                  "Margines lewy musi być liczbą nieujemną mniejszą niż 97,6 mm (większy wyprowadza adres poza stronę).");
    EXPECT_EQ(bytes(), Record(25, 40));
    // A folder that cannot be written says so, and nothing is left behind.
    const QString nowhere = folder.filePath("brak/Margines.dan");
    EXPECT_EQ(WriteEnvelopeMargins(nowhere, {25, 40}), "Nie można zapisać pliku " + nowhere);
}

} // namespace

namespace {

TEST_F(EnvelopeMarginsTest, AnEnvelopePrintsWithTheStoredMarginsOrKeepsThoseItHad)
{
    const EnvelopeMargins first{};
    EXPECT_EQ(MarginsForPrinting(path(), first), (EnvelopeMargins{10, 10}));
    ASSERT_EQ(WriteEnvelopeMargins(path(), {25, 40}), "");
    const EnvelopeMargins stored = MarginsForPrinting(path(), first);
    EXPECT_EQ(stored, (EnvelopeMargins{25, 40}));
    writeBytes("short");
    EXPECT_EQ(MarginsForPrinting(path(), stored), stored);
}

} // namespace
