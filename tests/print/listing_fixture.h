#pragma once

#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "print/listing_context.h"
#include "print/text_print_module.h"
#include "store/session.h"
#include "store/data_module.h"
#include "support/data_tree_builder.h"
#include "support/print_doubles.h"
#include "support/scripted_prompt.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Reports to the recording progress and fails (EngineError) at the chosen step of every job, as a
// table that breaks half-way through a listing would.
class FailingProgress final : public Progress {
public:
    explicit FailingProgress(RecordingProgress &recorded) : recorded_(recorded) {}
    int failAtStep = 0; // 0: never

    void Start(const QString &title, int maximum) override { recorded_.Start(title, maximum); }
    void Postep() override;
    void Stop() override { recorded_.Stop(); }

private:
    RecordingProgress &recorded_;
};

// The program's data module on a small year 2019 (today 2019.03.15, 14:05), the cash ledger's
// rules on its table objects, and the print module with scripted ports, its jobs kept in the
// preview buffer. A test writes its rows with the builder, then calls open().
class ListingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString year(const QString &relative) const { return tree.yearTable(QStringLiteral("2019"), relative); }
    void addDesk(const QString &symbol, const QString &name, const QString &currency = QString());
    void addReport(const QString &desk, int number, const char *opening, bool closed = false);
    // A document header; returns the row values so a test can add to them.
    static RowValues Header(const QString &desk, int report, int place, const QString &kind, int number,
                            const char *amount, const QString &date);
    // A line row of that document.
    static RowValues Line(const QString &desk, int report, const QString &kind, int number, const char *amount,
                          const QString &description);
    void addDocuments(const QList<RowValues> &rows);

    // Opens the data tree with the data module and puts the ledger on it.
    void open();
    void selectDesk(const QString &symbol);
    void selectReport(int number);
    // Makes the document at this place of the current report the selected one.
    void selectDocument(int place);

    // The lines of the last job in the preview buffer.
    QStringList previewLines() const;

    DataTreeBuilder tree;
    Session session;
    ScriptedPrompt prompt;
    GlobalState state;
    FixedClock clock{QDate(2019, 3, 15), QTime(14, 5)};
    RecordingProgress progress;
    FailingProgress failingProgress{progress};
    ScriptedSaveFileDialog saveDialog;
    RecordingSystemPrinter printer;
    std::unique_ptr<TDANE> dane;
    std::unique_ptr<CashLedger> ledger;
    std::unique_ptr<TDRUK> druk;
    std::unique_ptr<ListingContext> listing;
    int previews = 0;
};
