#pragma once

#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/ui/auxiliary_windows.h"
#include "ledger/ui/main_window.h"
#include "store/session.h"
#include "store/data_module.h"
#include "support/data_tree_builder.h"
#include "support/qt_printers.h"
#include "support/scripted_prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The main window over a data tree of the year 2019 (today 2019.03.15), with the data module,
// the ledger and the real dictionaries and dialogs, as the program runs it.
class MainWindowTest : public ::testing::Test {
protected:
    static constexpr const char *kYear = "2019";

    void SetUp() override;
    void TearDown() override;

    // Rows of a table of the year ("KASA\RKASA.DB").
    void addRows(const char *relative, const QList<RowValues> &rows);
    void addDesk(const QString &symbol, const QString &name = QString());
    void addReport(const QString &desk, int number, Money opening, bool closed = false, Money closing = Money());
    // A document header as stored rows, with optional line rows; placed after the ones added before.
    void addDocument(const QString &desk, int report, const QString &kind, int number, Money amount,
                     const QString &sign = QString(), const QString &date = QStringLiteral("2019.03.10"),
                     const QList<Money> &lines = {});
    void setParameter(const char *field, const QVariant &value);

    // Opens the tables, puts the ledger on them and shows the main window.
    void start(const QStringList &arguments = {}, int accessLevel = 255);

    // Runs the steps on the modal window of type W that the opening step shows, then makes sure
    // it is closed; fails the test when no such window came up.
    template <typename W> void withModal(const std::function<void()> &open, const std::function<void(W &)> &steps)
    {
        bool shown = false;
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto *modal = qobject_cast<W *>(QApplication::activeModalWidget());
            if (!modal || !modal->isVisible())
                return;
            timer.stop();
            shown = true;
            steps(*modal);
            if (modal->isVisible())
                modal->done(QDialog::Rejected);
        });
        timer.start();
        open();
        timer.stop();
        EXPECT_TRUE(shown) << "no modal window came up";
    }

    QString yearTable(const char *relative) const;
    QStringList storedDocuments(const QStringList &fields);
    static Money Amount(const char *text) { return *Money::parse(QString::fromLatin1(text)); }
    static void Process() { QCoreApplication::processEvents(); }

    DataTreeBuilder tree;
    GlobalState state;
    Session session;
    ScriptedPrompt prompt;
    FixedClock clock{QDate(2019, 3, 15)};
    std::unique_ptr<TDANE> data;
    std::unique_ptr<CashLedger> ledger;
    std::unique_ptr<TKASAF> window;
    std::unique_ptr<LedgerAuxiliaryWindows> auxiliary;
    // The other areas' commands the window is given at start().
    ExternalCommands commands;

private:
    int placesGiven_ = 0;
};
