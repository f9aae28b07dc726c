#pragma once

#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/ledger_view.h"
#include "support/scripted_prompt.h"
#include "store/session.h"
#include "store/table.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(Money amount, std::ostream *out)
{
    *out << amount.toString().toStdString();
}

// The cash state as the status bar shows it: right-aligned in the 21 places of the picture.
inline QString CashPicture(const char *shown)
{
    return QString::fromUtf8(shown).rightJustified(21);
}

// Records what the ledger asks the windows to show.
class RecordingView : public LedgerView {
public:
    void showCashState(const QString &text) override { cashStates.append(text); }
    void setDeskSymbolEditable(bool editable) override { deskSymbolEditable.append(editable); }
    void setReportNumberEditable(bool editable) override { reportNumberEditable.append(editable); }
    void startReportEditing() override { ++reportEditingStarted; }
    void openCashDeskDictionary() override { ++deskDictionaryOpened; }
    void showSettlementLabel(const QString &label) override { settlementLabels.append(label); }

    QStringList cashStates;
    QList<bool> deskSymbolEditable;
    QList<bool> reportNumberEditable;
    int reportEditingStarted = 0;
    int deskDictionaryOpened = 0;
    QStringList settlementLabels;
};

// A year folder of empty ledger tables in a temporary folder, the data module's table objects on
// them (links, orders, calculated fields as the data module sets them up), and the ledger on top.
// Today is 2019.03.15 in the year 2019.
class LedgerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Table &T(const char *objectName) { return *objects_.at(QString::fromLatin1(objectName)); }
    LedgerTables tables();

    // The parameter row (P1 template, P2 options).
    void setParameters(const QString &numberTemplate, const QString &options);
    void addDesk(const QString &symbol);
    // Makes the desk current.
    void selectDesk(const QString &symbol);
    // Appends a report to the current desk as stored rows are written (no command involved).
    void addReport(int number, Money opening, bool closed = false, const QString &marking = QString(),
                   Money closing = Money());
    // Makes the report of the current desk current.
    void selectReport(int number);
    // Writes a document header straight into the table, bypassing every rule.
    void writeHeader(const QString &desk, int report, const QString &kind, int number, Money amount,
                     const QString &sign = QString(), const QString &date = QStringLiteral("2019.03.15"),
                     int place = 0);

    // A document of the kind in the current report through the ledger's commands; the amounts
    // are its lines (for KP, KW, KPD and KWD the first one is the header's own line). Returns its
    // number.
    int createDocument(const QString &kind, const QList<Money> &lines = {});
    // Appends one line row to the current document.
    void addLine(Money amount, const QString &description = QString());

    // The values of one field down the whole view of a table object.
    static QStringList Column(Table &t, const char *field);
    // Every row the view shows, remembered.
    static QList<Bookmark> RowsOf(Table &t);
    // Every row of the document table in entry order, as "field=value" texts of the fields asked.
    QStringList storedDocuments(const QStringList &fields);

    static Money Amount(const char *text) { return *Money::parse(QString::fromLatin1(text)); }

    QTemporaryDir dir_;
    Session session_;
    ScriptedPrompt prompt_;
    GlobalState state_;
    FixedClock clock_{QDate(2019, 3, 15)};
    RecordingView view_;
    std::map<QString, std::unique_ptr<Table>> objects_;
    std::unique_ptr<CashLedger> ledger_;
};

// Desk K1, current, with its open report 1 and the prompt cleared: where most ledger tests start.
class OpenReportTest : public LedgerTest {
protected:
    void SetUp() override;
};
