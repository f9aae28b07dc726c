#include "ledger_fixture.h"
#include "ledger/ledger_queries.h"
#include "store/table_connection.h"
#include "support/child_program.h"

#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <iostream>

// Several programs on one year's ledger: the test program starts itself again as the other
// programs (the LedgerChildProgram test, which only works when told to).

namespace {

constexpr const char *kModeVariable = "KASA_LEDGER_CHILD";

void Say(const QByteArray &line)
{
    std::cout << line.constData() << std::endl; // flushed: the parent reads it at once
}

// The document table read with SQL, on whichever back end holds it.
class StoredDocuments {
public:
    // A writer killed mid-write leaves a journal that the first reader of a table file plays back.
    explicit StoredDocuments(const QString &path) : connection_(TableConnection::acquire(path, false)) {}
    ~StoredDocuments() { connection_->releaseOpenLock(false); }

    // "data" in the text stands for the table's rows.
    QStringList rows(const QByteArray &sql) const
    {
        QByteArray text = sql;
        text.replace("FROM data", "FROM " + connection_->dataTable());
        QStringList result;
        try {
            SqlStatement statement = connection_->prepare(text);
            while (statement.step()) {
                QStringList values;
                for (int i = 0; i < statement.columnCount(); ++i)
                    values.append(statement.value(i).toString());
                result.append(values.join(QLatin1Char(' ')));
            }
        } catch (const EngineError &error) {
            return {QStringLiteral("error: ") + error.message()};
        }
        return result;
    }

    // Headers whose amount is not the sum of their rows as the kind counts them.
    QStringList headersUnequalToTheirLines() const
    {
        return rows("SELECT h.\"RD\", h.\"NRD\", coalesce(h.\"KWOTA\", 0), lines FROM (SELECT h.*,"
                    "  (SELECT coalesce(sum(l.\"KWOTAP\"), 0) FROM data l WHERE l.\"SYMBOL\" = h.\"SYMBOL\""
                    "     AND l.\"NUMER\" = h.\"NUMER\" AND l.\"ROK\" = h.\"ROK\" AND l.\"RD\" = h.\"RD\""
                    "     AND l.\"NRD\" = h.\"NRD\" AND (l.\"GLOWKA\" = 0 OR l.\"GLOWKA\" IS NULL"
                    "     OR h.\"RD\" IN ('KP', 'KW', 'KPD', 'KWD'))) AS lines"
                    " FROM data h WHERE h.\"GLOWKA\" = 1) h WHERE coalesce(h.\"KWOTA\", 0) <> lines");
    }
    // Numbers held by more than one header of a kind in a report.
    QStringList repeatedNumbers() const
    {
        return rows("SELECT \"SYMBOL\", \"NUMER\", \"RD\", \"NRD\", count(*) FROM data WHERE \"GLOWKA\" = 1"
                    " GROUP BY \"SYMBOL\", \"NUMER\", \"RD\", \"NRD\" HAVING count(*) > 1");
    }
    // Line rows without a header.
    QStringList orphanLines() const
    {
        return rows("SELECT l.\"RD\", l.\"NRD\" FROM data l WHERE (l.\"GLOWKA\" = 0 OR l.\"GLOWKA\" IS NULL)"
                    " AND NOT EXISTS (SELECT 1 FROM data h WHERE h.\"GLOWKA\" = 1 AND h.\"SYMBOL\" = l.\"SYMBOL\""
                    "  AND h.\"NUMER\" = l.\"NUMER\" AND h.\"ROK\" = l.\"ROK\" AND h.\"RD\" = l.\"RD\""
                    "  AND h.\"NRD\" = l.\"NRD\")");
    }
    qint64 signedSumOfReport(int report) const
    {
        const QStringList sum = rows("SELECT coalesce(sum(CASE WHEN \"RD\" IN ('KP', 'KPD') THEN \"KWOTA\""
                                     " ELSE -\"KWOTA\" END), 0) FROM data WHERE \"GLOWKA\" = 1 AND \"NUMER\" = "
                                     + QByteArray::number(report));
        return sum.isEmpty() ? -1 : sum.first().toLongLong();
    }

private:
    std::shared_ptr<TableConnection> connection_;
};

class LedgerChildProgram : public LedgerTest {};

class LedgerProcesses : public OpenReportTest {
protected:
    ChildProgram *startWriter(int documents, bool stopWhenRefused = false)
    {
        QStringList settings{QString::fromLatin1(kModeVariable) + QStringLiteral("=post"),
                             QStringLiteral("KASA_LEDGER_FOLDER=") + dir_.path(),
                             QStringLiteral("KASA_LEDGER_DOCUMENTS=%1").arg(documents)};
        if (stopWhenRefused)
            settings << QStringLiteral("KASA_LEDGER_STOP_WHEN_REFUSED=1");
        writers_.push_back(std::make_unique<ChildProgram>(QStringLiteral("LedgerChildProgram.Run"), settings));
        return writers_.back().get();
    }

    // Two writers post documents into report 1 while this program closes it; the stored
    // documents afterwards.
    void closeWhileTwoWritersPost(int documents, bool stopWhenRefused);
    QString documentsPath() { return T("KNAG").filePath(); }

    std::vector<std::unique_ptr<ChildProgram>> writers_;
};

} // namespace

// Creates KP documents of three lines in report 1 of desk K1 until told number is reached,
// saying "POSTED n" after each one and "REFUSED" when the ledger refuses one.
TEST_F(LedgerChildProgram, Run)
{
    if (qEnvironmentVariable(kModeVariable) != QLatin1String("post"))
        GTEST_SKIP() << "runs only as the second program of a process test";
    selectDesk(QStringLiteral("K1"));
    selectReport(1);
    Say("READY");
    const int documents = qEnvironmentVariableIntValue("KASA_LEDGER_DOCUMENTS");
    for (int i = 1; i <= documents; ++i) {
        try {
            const int number = createDocument(QStringLiteral("KP"), {Money::fromCents(100 * i), Money::fromCents(11),
                                                                     Money::fromCents(7)});
            Say("POSTED " + QByteArray::number(number));
        } catch (const Abort &) {
            Say("REFUSED");
            // Told to stop at the first refusal: the report was closed under the writer.
            if (qEnvironmentVariableIsSet("KASA_LEDGER_STOP_WHEN_REFUSED"))
                break;
        } catch (const EngineError &error) {
            Say("ERROR " + error.message().toUtf8());
        }
        Guarded([&] {
            if (T("TNAG").state() != TableState::Browse)
                T("TNAG").cancel();
            if (T("TPOZ").state() != TableState::Browse)
                T("TPOZ").cancel();
        });
    }
    Say("DONE");
}

// Two programs post documents into one report while a third closes it: every document has its
// own number, none lands in the closed report, and the closing balance is the sum of what is in.
void LedgerProcesses::closeWhileTwoWritersPost(int documents, bool stopWhenRefused)
{
    ChildProgram *first = startWriter(documents, stopWhenRefused);
    ChildProgram *second = startWriter(documents, stopWhenRefused);
    ASSERT_TRUE(first->waitFor(QStringLiteral("POSTED"), 60000)) << first->lines().join('\n').toStdString();
    ASSERT_TRUE(second->waitFor(QStringLiteral("POSTED"), 60000)) << second->lines().join('\n').toStdString();
    for (int posted = 0; posted < 10 && first->waitFor(QStringLiteral("POSTED"), 60000);)
        ++posted;
    selectDesk(QStringLiteral("K1"));
    selectReport(1);
    // On a busy machine the writers may hold the lock longer than one wait: try again, as a user would.
    for (int attempt = 0; attempt < 5 && !T("TRKASA").asBoolean(QStringLiteral("ZAMKNIETY")); ++attempt) {
        try {
            ledger_->reports().closeReport();
        } catch (const EngineError &error) {
            EXPECT_EQ(error.kind(), EngineErrorKind::Locked) << error.message().toStdString();
        }
    }
    ASSERT_TRUE(T("TRKASA").asBoolean(QStringLiteral("ZAMKNIETY")));
    const qint64 closing = T("TRKASA").asMoney(QStringLiteral("BZWARTOSC")).units();
    EXPECT_TRUE(first->waitFor(QStringLiteral("DONE"), 120000)) << first->lines().join('\n').toStdString();
    EXPECT_TRUE(second->waitFor(QStringLiteral("DONE"), 120000)) << second->lines().join('\n').toStdString();

    const StoredDocuments stored(documentsPath());
    EXPECT_EQ(stored.repeatedNumbers(), QStringList());
    EXPECT_EQ(stored.headersUnequalToTheirLines(), QStringList());
    EXPECT_EQ(stored.orphanLines(), QStringList());
    EXPECT_EQ(stored.signedSumOfReport(1), closing) << "a document was posted after the report was closed";
}

TEST_F(LedgerProcesses, TwoProgramsPostingWhileAThirdClosesTheReport)
{
    closeWhileTwoWritersPost(60, false);
}

// The same with writers that are still posting when the report closes, so the close falls in the
// middle of a document, and that end at once with the refused row still on screen.
TEST_F(LedgerProcesses, TheReportClosedInTheMiddleOfADocumentLeavesItsHeaderEqualToItsLines)
{
    closeWhileTwoWritersPost(1000000, true);
}

// A writer killed at any moment leaves every header equal to the sum of its lines.
// KASA_LEDGER_KILLS sets the number of kills (40 unless told).
TEST_F(LedgerProcesses, KilledWriterLeavesEveryHeaderEqualToItsLines)
{
    const int kills = qEnvironmentVariableIsSet("KASA_LEDGER_KILLS") ? qEnvironmentVariableIntValue("KASA_LEDGER_KILLS") : 40;
    int posted = 0;
    for (int round = 0; round < kills; ++round) {
        ChildProgram *writer = startWriter(100000);
        ASSERT_TRUE(writer->waitFor(QStringLiteral("READY"), 60000)) << writer->lines().join('\n').toStdString();
        QThread::msleep(QRandomGenerator::global()->bounded(20, 200));
        writer->killHard();
        for (const QString &line : writer->lines())
            posted += line.startsWith(QLatin1String("POSTED")) ? 1 : 0;
        writers_.clear();
        const StoredDocuments stored(documentsPath());
        ASSERT_EQ(stored.headersUnequalToTheirLines(), QStringList()) << "round " << round;
        ASSERT_EQ(stored.repeatedNumbers(), QStringList()) << "round " << round;
    }
    EXPECT_GT(posted, 0);
}
