#include "main_window_fixture.h"
#include <QLineEdit>
#include <QStatusTipEvent>

#include "ledger/cash_state.h"
#include "ledger/ui/main_window_grids.h"
#include "ledger/ui/receipt_payout_editor.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kReports = QStringLiteral("Raporty Kasowe");

QStringList Column(const TableModel &model, const char *field)
{
    QStringList values;
    const int column = model.columnOf(QString::fromLatin1(field));
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.data(model.index(row, column)).toString());
    return values;
}

QColor Background(const TableModel &model, int row, const char *field)
{
    return model.data(model.index(row, model.columnOf(QString::fromLatin1(field))), Qt::BackgroundRole).value<QColor>();
}

// The documents of K1's open report 2; its closed report 1 holds none.
class MainWindowStart : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addDesk("K1", "Kasa główna");
        addDesk("K2", "Kasa walutowa");
        addReport("K1", 1, Amount("0"), true, Amount("100"));
        addReport("K1", 2, Amount("100"));
        addDocument("K1", 2, "KP", 1, Amount("50"));
    }

    QString tab() const { return window->PageControl->tabText(window->PageControl->currentIndex()); }
    int currentReport() const { return data->TRKASA.asInteger(QStringLiteral("NUMER")); }
};

TEST_F(MainWindowStart, ShowsTheLastReportOfTheFirstDeskWithItsCashState)
{
    start();

    EXPECT_EQ(window->windowTitle(), "Kasa Firma Testowa");
    EXPECT_EQ(tab(), kReports);
    EXPECT_EQ(window->StatusPanels[0]->text(), "");
    EXPECT_EQ(window->StatusPanels[1]->text(), "2019");
    EXPECT_EQ(window->StatusPanels[2]->text(), "Jan Kowalski");
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("150")));
    EXPECT_EQ(data->TKASA.asString(QStringLiteral("SYMBOL")), "K1");
    EXPECT_EQ(currentReport(), 2);
    EXPECT_EQ(window->ReportGrid->currentIndex().row(), 1);

    // The report has documents: its number cannot be changed in the grid.
    const TableModel &reports = window->ReportGrid->tableModel();
    EXPECT_TRUE(reports.columns()[reports.columnOf(QStringLiteral("NUMER"))].readOnly);
    EXPECT_EQ(reports.headerData(4, Qt::Horizontal).toString(), "Stan Początkowy");
    EXPECT_EQ(reports.headerData(4, Qt::Horizontal, TableModel::GroupRole).toString(), "WARTOŚĆ");

    // Without accounts on the report "Za co" is wide and the account column is not shown.
    const TableModel &documents = window->DocumentGrid->tableModel();
    EXPECT_EQ(window->DocumentGrid->columnWidth(documents.columnOf(QStringLiteral("TYT1"))), 230);
    EXPECT_TRUE(window->DocumentGrid->isColumnHidden(documents.columnOf(QStringLiteral("KONTO"))));

    // Another desk shows its own (empty) state at once.
    ASSERT_TRUE(window->DeskGrid->tableModel().moveTo(1));
    EXPECT_EQ(window->StatusPanels[3]->text().trimmed(), "0,00 zł");

    // A command's hint takes the first panel only; the cash state stays in sight.
    QStatusTipEvent tip(QStringLiteral("Nowy dokument"));
    QCoreApplication::sendEvent(&*window, &tip);
    EXPECT_EQ(window->StatusPanels[0]->text(), "Nowy dokument");
    EXPECT_EQ(window->StatusPanels[3]->text().trimmed(), "0,00 zł");
    EXPECT_TRUE(window->StatusPanels[3]->isVisible());
}

TEST_F(MainWindowStart, WithAccountsOnTheReportTheDocumentListShowsThem)
{
    setParameter("B3", true);
    start();

    const TableModel &documents = window->DocumentGrid->tableModel();
    EXPECT_EQ(window->DocumentGrid->columnWidth(documents.columnOf(QStringLiteral("TYT1"))), 150);
    EXPECT_FALSE(window->DocumentGrid->isColumnHidden(documents.columnOf(QStringLiteral("KONTO"))));
}

TEST_F(MainWindowStart, NowyWithRdKwOpensANewKwOnTheDocumentsTab)
{
    QString shownKind;
    QString shownTab;
    withModal<TKASAF1>([&] { start({"nowy", "RD=KW", "ONAZ1=Jan_Nowak", "KWOTAP=12,5"}); },
                       [&](TKASAF1 &editor) {
                           shownKind = editor.KindLabel->text();
                           shownTab = tab();
                           editor.saveAndClose();
                       });

    EXPECT_EQ(shownKind, "KW");
    EXPECT_EQ(shownTab, "Dokumenty");
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(storedDocuments({"RD", "NRD", "ONAZ1", "KWOTA"}).last().toStdString(), "RD=KW NRD=1 ONAZ1=Jan Nowak KWOTA=12,5");
}

TEST_F(MainWindowStart, NowyOnAClosedLastReportOnlySaysSo)
{
    addReport("K1", 3, Amount("150"), true, Amount("150"));
    start({"nowy", "RD=KW"});
    Process();

    EXPECT_EQ(prompt.shownOnce("Brak otwartego Raporu Kasowego.").icon, PromptIcon::Error);
    EXPECT_EQ(tab(), kReports);
    EXPECT_EQ(window->receiptEditor(), nullptr);
    EXPECT_EQ(storedDocuments({"RD"}).size(), 1);
}

// Opening the documents tab decides which commands a report allows.
TEST_F(MainWindowStart, AClosedReportDisablesTheDocumentCommands)
{
    start();
    const QList<QAction *> needOpenReport{window->ReceiptAction,        window->PayoutAction,     window->SettlementAction,
                                          window->AdvanceRequestAction, window->EditDocumentAction, window->DeleteDocumentAction,
                                          window->FreeReceiptAction,    window->FreePayoutAction};
    ASSERT_TRUE(window->ReportGrid->tableModel().moveTo(0));
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    for (QAction *action : needOpenReport)
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(window->CopyAction->isEnabled());

    window->PageControl->setCurrentWidget(window->TabRaporty);
    ASSERT_TRUE(window->ReportGrid->tableModel().moveTo(1));
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    for (QAction *action : needOpenReport)
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
}

TEST_F(MainWindowStart, BelowLevel100NothingChangesTheReportsOrTheDictionaries)
{
    setParameter("P2", QStringLiteral("20000"));
    start({}, 99);
    window->PageControl->setCurrentWidget(window->TabDokumenty);

    for (QAction *action : {window->NewReportAction, window->EditingAction, window->DeleteReportAction,
                            window->CloseReportAction, window->OpenReportAction, window->ReceiptAction,
                            window->PayoutAction, window->RenumberByDateAction, window->RenumberByEntryAction})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_FALSE(window->DictionaryMenu->menuAction()->isEnabled());
    EXPECT_FALSE(window->ParameterMenu->menuAction()->isEnabled());
    // Nor any other command that writes, though the report is open.
    for (QAction *action : {window->SettlementAction, window->AdvanceRequestAction, window->FreeReceiptAction,
                            window->FreePayoutAction, window->DeleteDocumentAction, window->CopyAction,
                            window->RenumberFromPlaceAction, window->RenumberDocumentsByDateAction})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    // A double click on the desk does not open its dictionary either.
    bool dictionaryShown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            dictionaryShown = true;
            modal->close();
        }
    });
    emit window->DeskGrid->doubleClicked(window->DeskGrid->model()->index(0, 0));
    Process();
    EXPECT_FALSE(dictionaryShown);
}

class MainWindowGrids : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addDesk("K1");
        addReport("K1", 1, Amount("0"), true, Amount("-5"));
        addReport("K1", 2, Amount("-5"));
        addDocument("K1", 2, "KP", 3, Amount("10"), {}, "2019.03.09");
        addDocument("K1", 2, "KW", 1, Amount("10"), {}, "2019.03.01");
        addDocument("K1", 2, "KPD", 1, Amount("10"), {}, "2019.03.05");
        addDocument("K1", 2, "KWD", 1, Amount("10"), {}, "2019.03.02");
        addDocument("K1", 2, "WZ", 1, Amount("10"), {}, "2019.03.07");
        addDocument("K1", 2, "RZ", 1, Amount("10"), "-", "2019.03.08");
        addDocument("K1", 2, "RZ", 2, Amount("10"), "+", "2019.03.03");
    }
};

TEST_F(MainWindowGrids, PayoutsAreGreenAClosedReportOrangeANegativeBalanceRed)
{
    start();
    const TableModel &documents = window->DocumentGrid->tableModel();
    EXPECT_EQ(Column(documents, "DOWOD"), QStringList({"KP 3", "KW 1", "", "", "WZ 1", "RZ 1", "RZ 2"}));

    const QList<bool> payout{false, true, false, true, true, true, false};
    for (int row = 0; row < payout.size(); ++row) {
        SCOPED_TRACE(row);
        for (const char *field : {"POZ", "DOWOD", "KWOTA"})
            EXPECT_EQ(Background(documents, row, field), payout[row] ? kPayoutColour : QColor()) << field;
        EXPECT_EQ(Background(documents, row, "DATA"), QColor());
    }

    const TableModel &reports = window->ReportGrid->tableModel();
    EXPECT_EQ(Column(reports, "TZAMKNIETY"), QStringList({"Zamknięty", "Otwarty"}));
    EXPECT_EQ(Background(reports, 0, "TZAMKNIETY"), kClosedReportColour);
    EXPECT_EQ(Background(reports, 1, "TZAMKNIETY"), QColor());
    EXPECT_EQ(Background(reports, 0, "BZWARTOSC"), kNegativeBalanceColour);
    EXPECT_EQ(Background(reports, 1, "BZWARTOSC"), QColor());
}

TEST_F(MainWindowGrids, FourTitlesOrderTheDocumentsTheOthersDoNot)
{
    start();
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    TableGrid &grid = *window->DocumentGrid;
    const TableModel &documents = grid.tableModel();
    const auto clickTitle = [&](const char *field) {
        const int column = documents.columnOf(QString::fromLatin1(field));
        QHeaderView *titles = grid.horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          QPoint(titles->sectionViewportPosition(column) + 5, titles->height() / 2));
        Process();
    };

    clickTitle("DATA");
    const QStringList byDate{"2019.03.01", "2019.03.02", "2019.03.03", "2019.03.05", "2019.03.07", "2019.03.08", "2019.03.09"};
    EXPECT_EQ(Column(documents, "DATA"), byDate);
    clickTitle("TYT1");
    clickTitle("KWOTA");
    EXPECT_EQ(Column(documents, "DATA"), byDate);
    EXPECT_EQ(data->TNAG.indexName(), "Dinx");

    clickTitle("DOWOD");
    EXPECT_EQ(data->TNAG.indexName(), "Rinx");
    EXPECT_EQ(Column(documents, "DOWOD"), QStringList({"KP 3", "", "KW 1", "", "RZ 1", "RZ 2", "WZ 1"}));
    clickTitle("POZ");
    EXPECT_EQ(data->TNAG.indexName(), "Pinx");
    clickTitle("ONAZ1");
    EXPECT_EQ(data->TNAG.indexName(), "Ninx");

    // Searching by kind stays in the kind order.
    QTest::keyClicks(window->SearchKind->lineEdit(), QStringLiteral("R"));
    EXPECT_EQ(data->TNAG.indexName(), "Rinx");
    EXPECT_EQ(data->TNAG.asString(QStringLiteral("DOWOD")), "RZ 1");
}

} // namespace

namespace {

TEST_F(MainWindowGrids, EdycjaLetsBothGridsBeEditedInPlace)
{
    start();
    TableModel &reports = window->ReportGrid->tableModel();
    TableModel &documents = window->DocumentGrid->tableModel();
    const QModelIndex marking = reports.index(1, reports.columnOf(QStringLiteral("OZNACZENIE")));
    const QModelIndex date = documents.index(1, documents.columnOf(QStringLiteral("DATA")));
    EXPECT_FALSE(reports.flags(marking) & Qt::ItemIsEditable);
    EXPECT_FALSE(documents.flags(date) & Qt::ItemIsEditable);

    window->EditingAction->trigger();
    EXPECT_TRUE(window->isEditing());
    EXPECT_TRUE(window->EditingAction->isChecked());
    EXPECT_TRUE(reports.flags(marking) & Qt::ItemIsEditable);

    // A date that is no day is said.
    EXPECT_FALSE(documents.setData(date, QStringLiteral("2019.13.45")));
    EXPECT_EQ(prompt.texts(), QStringList{"Niepoprawna data: 2019.13.45\rProszę wpisać datę w postaci RRRR.MM.DD."});
    EXPECT_TRUE(documents.setData(date, QStringLiteral("2019.03.11")));

    // Switching editing off stores what was typed.
    window->EditingAction->trigger();
    EXPECT_FALSE(window->isEditing());
    EXPECT_FALSE(reports.flags(marking) & Qt::ItemIsEditable);
    EXPECT_EQ(storedDocuments({"RD", "DATA"}).at(1), "RD=KW DATA=2019.03.11");
    EXPECT_EQ(storedDocuments({"RD", "DATA"}).size(), 7);

    // A closed report refuses the edit without a word.
    window->EditingAction->trigger();
    prompt.clear();
    EXPECT_FALSE(reports.setData(reports.index(0, reports.columnOf(QStringLiteral("OZNACZENIE"))), QStringLiteral("X")));
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(data->TRKASA.state(), TableState::Browse);
}

} // namespace

namespace {

// The status bar never keeps a balance the disk no longer holds.
TEST_F(MainWindowStart, TheCashStateFollowsEveryDeletion)
{
    addDocument("K1", 2, "KW", 1, Amount("30"));
    start();
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    Process();
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("120")));

    prompt.answers({Yes, Yes});
    data->TNAG.last();
    window->deleteDocument(); // the KW
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("150")));
    window->deleteDocument(); // the KP
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("100")));

    // Without its last report the desk holds what the closed one left.
    window->PageControl->setCurrentWidget(window->TabRaporty);
    Process();
    prompt.clear();
    prompt.answers({Yes, Yes});
    window->deleteReport();
    EXPECT_EQ(data->TRKASA.asInteger(QStringLiteral("NUMER")), 1) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("100")));
}

// What another program stored shows when the window comes back to the front, and when a command
// finds the stored rows other than the ones shown.
TEST_F(MainWindowStart, TheViewsReadTheDiskAgainWhenTheWindowIsActivatedOrACommandFindsThemChanged)
{
    start();
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    Process();
    ASSERT_EQ(window->DocumentGrid->tableModel().rowCount(), 1);

    addDocument("K1", 2, "KP", 2, Amount("25")); // by another program
    QApplication::setActiveWindow(nullptr);
    Process();
    QApplication::setActiveWindow(window.get());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &activation);
    Process();
    EXPECT_EQ(window->DocumentGrid->tableModel().rowCount(), 2);
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("175")));

    // Another program deletes the document shown; deleting it here finds it gone.
    data->TNAG.last();
    {
        const std::unique_ptr<Table> raw = tree.open(yearTable("KASA\\NAGKASA.DB"));
        raw->setIndexFieldNames(QStringLiteral("AUTO"));
        raw->last();
        raw->deleteRow();
    }
    prompt.clear();
    prompt.answer(Yes);
    window->deleteDocument();
    EXPECT_EQ(window->DocumentGrid->tableModel().rowCount(), 1) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("150")));
    EXPECT_EQ(storedDocuments({"NRD"}), QStringList{"NRD=1"});
}

// Another program closes and opens the report while the window is in the background: the first
// click, before the activation is handled, already finds the commands as the disk has them.
TEST_F(MainWindowStart, TheFirstClickAfterTheBackgroundFindsTheCommandsAsStored)
{
    start();
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    Process();
    ASSERT_TRUE(window->DeleteDocumentAction->isEnabled());
    QApplication::setActiveWindow(nullptr);
    QEvent deactivation(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &deactivation);
    for (const bool closed : {true, false}) {
        SCOPED_TRACE(closed ? "closed" : "opened again");
        {
            const std::unique_ptr<Table> raw = tree.open(yearTable("KASA\\RKASA.DB"));
            raw->last();
            raw->edit();
            raw->setBoolean(QStringLiteral("ZAMKNIETY"), closed);
            raw->post();
        }
        QApplication::setActiveWindow(nullptr);
        QApplication::sendEvent(window.get(), &deactivation);
        QTest::mousePress(window->DocumentGrid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(window->DeleteDocumentAction->isEnabled(), !closed);
        QTest::mouseRelease(window->DocumentGrid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    }
}

} // namespace

namespace {

// A report number taken twice is refused once, by whatever way the user leaves the row; the row
// stays current and in edit with the number typed, until it is corrected.
TEST_F(MainWindowStart, ADuplicateReportNumberIsRefusedOnceAndTheRowWaits)
{
    start();
    window->closeReport();
    window->newReport(); // report 3, editing on
    Process();
    TableGrid &grid = *window->ReportGrid;
    const int number = grid.tableModel().columnOf(QStringLiteral("NUMER"));
    QApplication::setActiveWindow(window.get());
    grid.setFocus();
    grid.setCurrentIndex(grid.tableModel().index(2, number));
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    prompt.clear();
    QTest::keyClick(&grid, Qt::Key_Up);
    Process();
    // The window comes back to the front after the message, and is clicked on another row.
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &activation);
    Process();
    const QRect first = grid.visualRect(grid.tableModel().index(0, number));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, first.center());
    Process();

    EXPECT_EQ(prompt.count(QStringLiteral("Ten NUMER już istnieje, wprowadź oryginalne oznaczenie.")), 2)
        << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_EQ(data->TRKASA.state(), TableState::Edit);
    EXPECT_EQ(data->TRKASA.asInteger(QStringLiteral("NUMER")), 2);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(2));

    // Corrected, it is stored and the user moves on.
    data->TRKASA.setInteger(QStringLiteral("NUMER"), 7);
    QTest::keyClick(&grid, Qt::Key_Up);
    Process();
    EXPECT_EQ(data->TRKASA.state(), TableState::Browse);
    EXPECT_EQ(Column(grid.tableModel(), "NUMER"), QStringList({"1", "2", "7"}));
    EXPECT_EQ(grid.currentIndex().row(), 1);
}

// With editing on, typing into a cell edits it, as in a spreadsheet: the number of a new report
// right after "Nowy"; a key on a cell that cannot be edited leaves the selection where it is.
TEST_F(MainWindowStart, TypingIntoAReportCellWithEditingOnEditsIt)
{
    start();
    window->closeReport();
    window->newReport();
    Process();
    TableGrid &grid = *window->ReportGrid;
    const TableModel &reports = grid.tableModel();
    QApplication::setActiveWindow(window.get());
    grid.setFocus();
    grid.setCurrentIndex(reports.index(2, reports.columnOf(QStringLiteral("TZAMKNIETY"))));
    QTest::keyClick(&grid, Qt::Key_1); // "Stan" is worked out: nothing happens
    EXPECT_EQ(grid.currentIndex().row(), 2);

    grid.setCurrentIndex(reports.index(2, reports.columnOf(QStringLiteral("NUMER"))));
    QTest::keyClick(&grid, Qt::Key_9);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "9");
    EXPECT_EQ(grid.currentIndex().row(), 2);
    QTest::keyClick(editor, Qt::Key_Escape);
}

// The desk selector opens the list of desks (F4, Alt+Down, a click) and takes the one picked.
TEST_F(MainWindowStart, TheDeskSelectorOpensTheListOfDesks)
{
    addReport("K2", 1, Amount("7"));
    start();
    QStringList offered;
    const auto pickSecond = [&] {
        QTimer::singleShot(0, [&] {
            auto *list = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(list, nullptr);
            for (QAction *entry : list->actions())
                offered.append(entry->text());
            list->setActiveAction(list->actions().value(1));
            QTest::keyClick(list, Qt::Key_Return);
        });
    };
    pickSecond();
    QTest::keyClick(window->DeskGrid, Qt::Key_F4);
    Process();
    EXPECT_EQ(offered.join(u'|'), "K1  Kasa główna|K2  Kasa walutowa");
    EXPECT_EQ(data->TKASA.asString(QStringLiteral("SYMBOL")), "K2");
    EXPECT_EQ(currentReport(), 1);
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("7")));
}

} // namespace
