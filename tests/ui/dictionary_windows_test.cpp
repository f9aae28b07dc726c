#include "ledger/ui/auxiliary_windows.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/dictionary_rules.h"
#include "ledger/ui/account_dictionary.h"
#include "ledger/ui/cash_desk_dictionary.h"
#include "ledger/ui/currency_dictionary.h"
#include "ledger/ui/description_dictionary.h"
#include "ledger/ui/calendar_dialog.h"
#include "store/data_module.h"
#include "widgets/table_grid.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"
#include "ui/modal_steps.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kYear = QStringLiteral("2019");
using B = TableNavigator::Button;

// A year with two desks (K1 with a report, K2 without), three currencies and one account,
// opened by the data module with the ledger's rules and the windows on top.
class DictionaryWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withStandardTree(kYear);
        tree.addRows(year("KASA\\KASA.DB"), {{{"SYMBOL", "K1"}, {"NAZWA", "Kasa główna"}, {"A2", "PLN"}},
                                              {{"SYMBOL", "K2"}, {"NAZWA", "Kasa walutowa"}}});
        tree.addRows(year("KASA\\RKASA.DB"), {{{"SYMBOL", "K1"}, {"NUMER", 1}, {"DATAOD", "2019.03.01"}}});
        tree.addRows(year("FIN\\WALUTA.DB"), {{{"KOD", "1"}, {"WALUTA", "PLN"}},
                                              {{"KOD", "2"}, {"WALUTA", "EUR"}},
                                              {{"KOD", "3"}, {"WALUTA", "USD"}}});
        tree.addRows(year("SLOWNIKI\\KONTAK.DB"), {{{"KOD", "100"}, {"NAZWA", "Kasa"}}});
        state.TodayText = QStringLiteral("2019.03.15");
        state.CurrentYear = kYear;
        state.CurrentMonth = QStringLiteral("03");
        session.setWorkingFolder(tree.workingFolder());
        dane = std::make_unique<TDANE>(DataModuleContext{session, prompt, state, tree.environment({tree.dataRootArgument()})});
        ledger = std::make_unique<CashLedger>(LedgerTables{dane->TPARA, dane->TKASA, dane->TRKASA, dane->TNAG, dane->TPOZ,
                                                           dane->KNAG, dane->TSLO, dane->TKONTA, dane->TWALUTA},
                                              prompt, state, clock);
        dane->runOpenSequence();
        ledger->tablesReopened();
        ASSERT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
        windows = std::make_unique<LedgerAuxiliaryWindows>(*ledger, clock);
    }

    void TearDown() override
    {
        windows.reset();
        ledger.reset();
        dane.reset();
    }

    QString year(const char *relative) const { return tree.yearTable(kYear, QString::fromLatin1(relative)); }

    static bool Editable(TableDictionaryWindow &window, int row, const char *field)
    {
        TableModel &model = window.model();
        return model.flags(model.index(row, model.columnOf(QString::fromLatin1(field)))) & Qt::ItemIsEditable;
    }

    static void Type(TableDictionaryWindow &window, const char *field, const QString &text)
    {
        TableModel &model = window.model();
        ASSERT_TRUE(model.setData(model.index(model.currentRow(), model.columnOf(QString::fromLatin1(field))), text));
    }

    static QStringList Hints(TableDictionaryWindow &window)
    {
        QStringList hints;
        for (QToolButton *button : window.Navigator->findChildren<QToolButton *>())
            hints << button->toolTip();
        return hints;
    }

    static QStringList Titles(TableDictionaryWindow &window)
    {
        QStringList titles;
        for (const GridColumn &column : window.model().columns())
            titles << window.model().headerData(window.model().columnOf(column.field), Qt::Horizontal).toString();
        return titles;
    }

    static void Close(QWidget &window) { PressEscape(window); }

    DataTreeBuilder tree;
    Session session;
    ScriptedPrompt prompt;
    GlobalState state;
    FixedClock clock{QDate(2019, 3, 15)};
    std::unique_ptr<TDANE> dane;
    std::unique_ptr<CashLedger> ledger;
    std::unique_ptr<LedgerAuxiliaryWindows> windows;
};

TEST_F(DictionaryWindowsTest, EachDictionaryHasItsCaptionColumnsAndNavigator)
{
    struct Case {
        TableDictionaryWindow *window;
        QString caption;
        QStringList titles;
        QStringList hints;
    };
    const QStringList every{"Pierwszy", "Poprzedni", "Następny", "Ostatni", "Nowy", "Kasuj", "Edytuj", "Zapisz", "Przerwij", "Odśwież"};
    WhenModal([](QWidget &window) { Close(window); });
    windows->openDescriptionDictionary(QStringLiteral("KP")); // its caption follows the kind shown
    for (const Case &c : {
             Case{&windows->cashDeskDictionary(), "Słownik kas", {"SYMBOL", "OPIS", "WALUTA"}, {"Nowy", "Kasuj", "Zapisz", "Przerwij"}},
             Case{&windows->accountDictionary(), "Konta", {"KONTO", "NAZWA"}, {"Poprzedni", "Następny", "Nowy", "Kasuj", "Zapisz"}},
             Case{&windows->descriptionDictionary(), "Słownik opisu wpłaty", {"OPIS", "CENA"},
                  {"Pierwszy", "Ostatni", "Nowy", "Kasuj", "Edytuj", "Zapisz", "Przerwij"}},
             Case{&windows->currencyDictionary(), "Słownik rodzajów waluty",
                  {"KOL.", "OZNACZENIE WALUTY", "JEDNOSTKA", "JEDEN", "DWA", "DZIESIĘĆ", "JEDEN", "DWA", "DZIESIĘĆ"}, every},
         }) {
        EXPECT_EQ(c.window->windowTitle(), c.caption);
        EXPECT_EQ(Titles(*c.window), c.titles) << c.caption.toStdString();
        EXPECT_EQ(Hints(*c.window), c.hints) << c.caption.toStdString();
        EXPECT_TRUE(c.window->model().isEditable());
    }
    TableModel &currencies = windows->currencyDictionary().model();
    QStringList groups;
    for (int column = 0; column < currencies.columnCount(); ++column)
        groups << currencies.headerData(column, Qt::Horizontal, TableModel::GroupRole).toString();
    EXPECT_EQ(groups, QStringList({"", "", "", "OPIS WALUTY", "OPIS WALUTY", "OPIS WALUTY", "OPIS WALUTY", "OPIS WALUTY", "OPIS WALUTY"}));
}

// The symbol of a desk with reports cannot be changed; the rule follows the desk the user is on.
TEST_F(DictionaryWindowsTest, TheDeskSymbolIsReadOnlyExactlyWhileTheCurrentDeskHasReports)
{
    CashDeskDictionary &desks = windows->cashDeskDictionary();
    QList<bool> editable;
    WhenModal([&](QWidget &window) {
        editable << Editable(desks, 0, "SYMBOL");
        QTest::keyClick(desks.Grid, Qt::Key_Down);
        editable << Editable(desks, 1, "SYMBOL");
        QTest::keyClick(desks.Grid, Qt::Key_Up);
        editable << Editable(desks, 0, "SYMBOL");
        desks.Navigator->button(B::Insert)->click();
        editable << Editable(desks, desks.model().currentRow(), "SYMBOL");
        desks.Navigator->button(B::Cancel)->click();
        editable << Editable(desks, desks.model().currentRow(), "SYMBOL");
        EXPECT_TRUE(Editable(desks, 0, "NAZWA"));
        Close(window);
    });
    windows->openCashDeskDictionary();

    EXPECT_EQ(editable, QList<bool>({false, true, false, true, false}));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

TEST_F(DictionaryWindowsTest, ANewDeskCanTakeItsSymbolAndIsStoredWhenTheWindowCloses)
{
    CashDeskDictionary &desks = windows->cashDeskDictionary();
    WhenModal([&](QWidget &window) {
        desks.Navigator->button(B::Insert)->click();
        Type(desks, "SYMBOL", QStringLiteral("K3"));
        Type(desks, "NAZWA", QStringLiteral("Kasa dodatkowa"));
        Close(window);
    });
    windows->openCashDeskDictionary();

    EXPECT_EQ(dane->TKASA.state(), TableState::Browse);
    EXPECT_EQ(tree.column(year("KASA\\KASA.DB"), QStringLiteral("SYMBOL")), QStringList({"K1", "K2", "K3"}));
    EXPECT_FALSE(desks.isVisible());
}

TEST_F(DictionaryWindowsTest, ADeskWithReportsIsNotDeletedAndAnotherIsAfterTheQuestion)
{
    CashDeskDictionary &desks = windows->cashDeskDictionary();
    const QString refusal = QString::fromUtf8("Brak możliwości skasowania kasy.\rIstnieją Raporty Kasowe");
    WhenModal([&](QWidget &window) {
        desks.Navigator->button(B::Delete)->click();
        EXPECT_EQ(prompt.texts(), QStringList{refusal});
        EXPECT_EQ(prompt.messages().value(0).icon, PromptIcon::Error);
        QTest::keyClick(desks.Grid, Qt::Key_Down);
        prompt.answer(Yes);
        desks.Navigator->button(B::Delete)->click();
        Close(window);
    });
    windows->openCashDeskDictionary();

    EXPECT_EQ(prompt.texts(), QStringList({refusal, QString::fromUtf8("Usunąć rekord?")}));
    EXPECT_EQ(tree.column(year("KASA\\KASA.DB"), QStringLiteral("SYMBOL")), QStringList{"K1"});
}

TEST_F(DictionaryWindowsTest, TheCurrencyListOffersEveryCurrencyAsShownAndNothingElse)
{
    CashDeskDictionary &desks = windows->cashDeskDictionary();
    QStringList offered;
    bool typingAllowed = true;
    bool foreignTaken = true;
    WhenModal([&](QWidget &window) {
        TableModel &model = desks.model();
        const QModelIndex cell = model.index(0, model.columnOf(QStringLiteral("A2")));
        desks.Grid->setCurrentIndex(cell);
        desks.Grid->edit(cell);
        auto *list = desks.Grid->findChild<QComboBox *>();
        if (list) {
            for (int i = 0; i < list->count(); ++i)
                offered << list->itemText(i);
            typingAllowed = list->isEditable();
        }
        foreignTaken = model.setData(cell, QStringLiteral("GBP"));
        if (list)
            QTest::keyClick(list, Qt::Key_Escape);
        Close(window);
    });
    windows->openCashDeskDictionary();
    EXPECT_EQ(offered, QStringList({"PLN", "EUR", "USD"}));
    EXPECT_FALSE(typingAllowed);
    EXPECT_FALSE(foreignTaken);

    // The list is filled afresh each time the window is shown.
    tree.addRows(year("FIN\\WALUTA.DB"), {{{"KOD", "4"}, {"WALUTA", "CHF"}}});
    WhenModal([&](QWidget &window) {
        const GridColumn &currency = desks.model().columns()[desks.model().columnOf(QStringLiteral("A2"))];
        offered = currency.pickList;
        Close(window);
    });
    windows->openCashDeskDictionary();
    EXPECT_EQ(offered, QStringList({"PLN", "EUR", "USD", "CHF"}));
}

TEST_F(DictionaryWindowsTest, ADescriptionIsStoredUnderTheKindTheWindowShows)
{
    DescriptionDictionary &descriptions = windows->descriptionDictionary();
    WhenModal([&](QWidget &window) {
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Słownik opisu wypłaty"));
        descriptions.Navigator->button(B::Insert)->click();
        Type(descriptions, "NAZWA", QStringLiteral("Paliwo"));
        Type(descriptions, "CENA", QStringLiteral("120,50"));
        descriptions.Navigator->button(B::Post)->click();
        descriptions.Navigator->button(B::Insert)->click();
        Type(descriptions, "NAZWA", QStringLiteral("Delegacja"));
        Close(window); // the pending row is stored on the way out
    });
    windows->openDescriptionDictionary(QStringLiteral("KW"));
    EXPECT_EQ(state.BiezacyRD, QStringLiteral("KW"));

    int shownForKp = -1;
    WhenModal([&](QWidget &window) {
        shownForKp = descriptions.model().rowCount();
        Close(window);
    });
    windows->openDescriptionDictionary(QStringLiteral("KP"));

    EXPECT_EQ(descriptions.windowTitle(), QString::fromUtf8("Słownik opisu wpłaty"));
    EXPECT_EQ(shownForKp, 0);
    EXPECT_EQ(tree.column(year("KASA\\OPISKASA.DB"), QStringLiteral("RD")), QStringList({"KW", "KW"}));
    EXPECT_EQ(tree.column(year("KASA\\OPISKASA.DB"), QStringLiteral("NAZWA")), QStringList({"Delegacja", "Paliwo"}));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

// A dictionary is typed into from the keyboard alone: Down on the last row begins a new one, and
// Tab from its last cell stores it.
TEST_F(DictionaryWindowsTest, ARowIsAddedFromTheKeyboard)
{
    AccountDictionary &accounts = windows->accountDictionary();
    WhenModal([&](QWidget &window) {
        QApplication::setActiveWindow(&window);
        accounts.Grid->setCurrentIndex(accounts.model().index(0, 0));
        const auto type = [](const QString &text) {
            for (const QChar c : text)
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        };
        QTest::keyClick(accounts.Grid, Qt::Key_Down);
        type(QStringLiteral("200"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        type(QStringLiteral("Bank"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dane->TKONTA.state(), TableState::Browse);
        Close(window);
    });
    windows->openAccountDictionary();
    EXPECT_EQ(tree.column(year("SLOWNIKI\\KONTAK.DB"), QStringLiteral("NAZWA")), QStringList({"Kasa", "Bank"}));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

// A desk whose symbol is taken keeps the cursor when the user clicks another desk: the message
// once, the new row current and alone selected, still being typed.
TEST_F(DictionaryWindowsTest, ARefusedDeskKeepsTheCursorWhenAnotherRowIsClicked)
{
    CashDeskDictionary &desks = windows->cashDeskDictionary();
    WhenModal([&](QWidget &window) {
        desks.Navigator->button(B::Insert)->click();
        Type(desks, "SYMBOL", QStringLiteral("K1"));
        Type(desks, "NAZWA", QStringLiteral("Duplikat"));
        QTableView &grid = *desks.Grid;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(desks.model().index(1, 1)).center());
        QCoreApplication::processEvents();
        EXPECT_EQ(prompt.count(QStringLiteral("Ten symbol już istnieje, wprowadź oryginalne oznaczenie.")), 1);
        EXPECT_EQ(dane->TKASA.state(), TableState::Insert);
        EXPECT_EQ(grid.currentIndex().row(), 2);
        EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);
        EXPECT_TRUE(grid.selectionModel()->isRowSelected(2));
        desks.Navigator->button(B::Cancel)->click();
        Close(window);
    });
    windows->openCashDeskDictionary();
    EXPECT_EQ(tree.column(year("KASA\\KASA.DB"), QStringLiteral("SYMBOL")), QStringList({"K1", "K2"}));
}

TEST_F(DictionaryWindowsTest, AnAccountNumberTakenTwiceIsRefusedOnceAndTheRowWaitsForCorrection)
{
    AccountDictionary &accounts = windows->accountDictionary();
    bool stillOpen = false;
    WhenModal([&](QWidget &window) {
        accounts.Navigator->button(B::Insert)->click();
        Type(accounts, "KOD", QStringLiteral("100"));
        Type(accounts, "NAZWA", QStringLiteral("Kasa walutowa"));
        accounts.Navigator->button(B::Post)->click();
        EXPECT_EQ(dane->TKONTA.state(), TableState::Insert);
        EXPECT_EQ(prompt.count(QStringLiteral("To KONTO już istnieje, wprowadź inne konto.")), 1);
        EXPECT_EQ(prompt.messages().size(), 1);
        EXPECT_EQ(prompt.beeps(), 1);
        Close(window); // refused again: the window stays with the row
        stillOpen = window.isVisible();
        Type(accounts, "KOD", QStringLiteral("101"));
        Close(window);
    });
    windows->openAccountDictionary();

    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(tree.column(year("SLOWNIKI\\KONTAK.DB"), QStringLiteral("KOD")), QStringList({"100", "101"}));
    EXPECT_EQ(prompt.count(QString::fromUtf8("Błąd zapisu")), 0);
}

TEST_F(DictionaryWindowsTest, TheCurrencyOrderNumberTakesOneDigit)
{
    CurrencyDictionary &currencies = windows->currencyDictionary();
    QString typed;
    WhenModal([&](QWidget &window) {
        TableModel &model = currencies.model();
        const QModelIndex cell = model.index(0, model.columnOf(QStringLiteral("KOD")));
        currencies.Grid->setCurrentIndex(cell);
        currencies.Grid->edit(cell);
        auto *editor = currencies.Grid->findChild<QLineEdit *>(QStringLiteral("OrderNumberEdit"));
        if (editor) {
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("a97"));
            typed = editor->text();
        }
        Close(window);
    });
    windows->openCurrencyDictionary();
    EXPECT_EQ(typed, QStringLiteral("9"));
}

TEST_F(DictionaryWindowsTest, WindowsAreCreatedOnFirstUseAndKept)
{
    EXPECT_EQ(&windows->monthDialog(), &windows->monthDialog());
    EXPECT_EQ(&windows->cashStateDateDialog(), &windows->cashStateDateDialog());
    EXPECT_EQ(&windows->kalendarz(), &windows->kalendarz());

    QWidget anchor;
    anchor.move(200, 150);
    anchor.show();
    QPoint shownAt;
    WhenModal([&](QWidget &window) {
        shownAt = window.pos();
        QTest::keyClicks(windows->kalendarz().Offset, QStringLiteral("3"));
        window.close();
    });
    EXPECT_EQ(windows->askCalendarDate(&anchor, QDate(2019, 3, 15)), QDate(2019, 3, 18));
    EXPECT_EQ(shownAt, anchor.mapToGlobal(QPoint(5, 30)));

    // The ledger's rule reaches the desk dictionary through the main window, once it exists.
    windows->setDeskSymbolEditable(false);
    CashDeskDictionary &desks = windows->cashDeskDictionary();
    EXPECT_TRUE(Editable(desks, 1, "SYMBOL"));
    windows->setDeskSymbolEditable(false);
    EXPECT_FALSE(Editable(desks, 1, "SYMBOL"));
    windows->setDeskSymbolEditable(true);
    EXPECT_TRUE(Editable(desks, 1, "SYMBOL"));
}

} // namespace
