#include "main_window_fixture.h"

#include "ledger/cash_state.h"
#include "ledger/renumbering_dialogs.h"
#include "ledger/ui/receipt_payout_editor.h"
#include "ledger/ui/settlement_editor.h"
#include "ledger/ui/advance_request_editor.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"
#include "widgets/table_navigator.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

using Button = TableNavigator::Button;

void Type(QLineEdit *edit, const QString &text)
{
    edit->setCursorPosition(0);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// A line typed into the grid: a new row from the navigator, its text and amount.
void AddLine(DocumentEditor &editor, const QString &text, const QString &amount)
{
    editor.Navigator->run(Button::Insert);
    TableModel &lines = editor.LineGrid->tableModel();
    const int row = lines.rowCount() - 1;
    if (!text.isEmpty())
        EXPECT_TRUE(lines.setData(lines.index(row, 0), text));
    EXPECT_TRUE(lines.setData(lines.index(row, 1), amount));
}

QString Cell(const TableModel &lines, int row, int column)
{
    return lines.data(lines.index(row, column)).toString();
}

// K1's open report 1 with an opening balance of 1000, a contractor and a receipt description.
class DocumentEditorsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addDesk("K1");
        addReport("K1", 1, Amount("1000"));
        addRows("FIN\\KONTRAHI.DB", {{{"NR", 7}, {"NIP", "123-456-78-90"}, {"NAZWA1", "Hurtownia"}, {"NAZWA2", "Bis"},
                                     {"KOD", "00-001"}, {"MIEJSC", "Warszawa"}, {"UL", "Prosta 1"}}});
        addRows("KASA\\OPISKASA.DB", {{{"RD", "KP"}, {"NAZWA", "Wpłata za fakturę"}, {"CENA", QVariant::fromValue(Amount("100"))}},
                                      {{"RD", "KW"}, {"NAZWA", "Zakup paliwa"}}});
        addRows("SLOWNIKI\\KONTAK.DB", {{{"KOD", "100"}, {"NAZWA", "Kasa"}}, {{"KOD", "201"}, {"NAZWA", "Rozrachunki"}}});
    }

    void showDocuments()
    {
        window->PageControl->setCurrentWidget(window->TabDokumenty);
        Process();
    }

    // A document is only shown when its report is closed, and to a user who may only look: no
    // editor takes typing or writes on closing.
    void expectEveryEditorShowsTheDocumentOnly(bool reportClosed, int accessLevel)
    {
        addReport("K1", 2, Amount("0"), reportClosed, Amount("10"));
        addDocument("K1", 2, "WZ", 1, Amount("80"), {}, "2019.03.10", {Amount("80")});
        addDocument("K1", 2, "RZ", 1, Amount("500"), QStringLiteral("+"), "2019.03.11", {Amount("20")});
        start({}, accessLevel);
        showDocuments();
        const QStringList before = storedDocuments({"TYT1", "L1", "KWOTA", "DATA", "ONAZ1"});
        const auto check = [&](DocumentEditor &editor, TableFieldEdit *typable) {
            for (TableFieldEdit *field : {editor.NumberEdit, editor.DateEdit, typable})
                EXPECT_TRUE(field->isReadOnly());
            EXPECT_FALSE(editor.AccountCombo->isEnabled());
            const TableModel &lines = editor.LineGrid->tableModel();
            EXPECT_FALSE(lines.flags(lines.index(0, 0)) & Qt::ItemIsEditable);
            typable->setText(QStringLiteral("700"));
            emit typable->textEdited(typable->text());
            editor.saveAndClose();
            EXPECT_FALSE(editor.isVisible());
        };
        window->DocumentGrid->tableModel().table().first();
        withModal<TKASAF14>([&] { window->editDocument(); }, [&](TKASAF14 &editor) { check(editor, editor.JobTitleEdit); });
        window->DocumentGrid->tableModel().table().next();
        withModal<TKASAF11>([&] { window->editDocument(); }, [&](TKASAF11 &editor) {
            check(editor, editor.AdvanceAmountEdit);
        });
        EXPECT_EQ(storedDocuments({"TYT1", "L1", "KWOTA", "DATA", "ONAZ1"}).join(u'|').toStdString(), before.join(u'|').toStdString());
        EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    }
};

// The largest amount a document takes shows whole in the line's column and the total's field.
TEST_F(DocumentEditorsTest, TheLargestAmountShowsWhole)
{
    start();
    showDocuments();

    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        TableModel &lines = editor.LineGrid->tableModel();
        EXPECT_TRUE(lines.setData(lines.index(0, 0), QStringLiteral("Wpłata")));
        EXPECT_TRUE(lines.setData(lines.index(0, 1), QStringLiteral("999999999999,99")));
        editor.Navigator->run(Button::Post);
        const QString largest = QStringLiteral("999 999 999 999,99");
        const QString cell = Cell(lines, 0, 1);
        EXPECT_EQ(QString(cell).remove(u' '), QString(largest).remove(u' '));
        EXPECT_EQ(editor.AmountEdit->text(), largest);
        EXPECT_GT(editor.LineGrid->columnWidth(1), editor.LineGrid->fontMetrics().horizontalAdvance(cell) + 6);
        EXPECT_GT(editor.AmountEdit->contentsRect().width(), editor.AmountEdit->fontMetrics().horizontalAdvance(largest) + 6);
        editor.SaveButton->click();
    });
}

TEST_F(DocumentEditorsTest, AKpWithThreeLinesIsStoredAndCountedInTheCashState)
{
    start();
    showDocuments();

    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        EXPECT_EQ(editor.windowTitle(), "Dokument");
        EXPECT_EQ(editor.KindLabel->text(), "KP");
        EXPECT_EQ(editor.NumberEdit->text(), "KP 1");
        EXPECT_TRUE(editor.NumberEdit->isReadOnly());
        EXPECT_EQ(editor.DateEdit->text(), "2019.03.15");

        // A known contractor number fills the contractor at once.
        Type(editor.ContractorNumberEdit, QStringLiteral("7"));
        EXPECT_EQ(editor.Name1Edit->text(), "Hurtownia");
        EXPECT_EQ(editor.TaxNumberEdit->text(), "123-456-78-90");

        // The header row is the first line; a description from the dictionary brings its amount.
        TableModel &lines = editor.LineGrid->tableModel();
        EXPECT_EQ(lines.columns()[0].pickList, QStringList{"Wpłata za fakturę"});
        EXPECT_EQ(lines.columns()[2].pickList.join(u'|'), "100|201");
        EXPECT_TRUE(lines.setData(lines.index(0, 0), QStringLiteral("Wpłata za fakturę")));
        EXPECT_EQ(Cell(lines, 0, 1), "100,00");
        AddLine(editor, QStringLiteral("Druga"), QStringLiteral("20"));
        AddLine(editor, QStringLiteral("Trzecia"), QStringLiteral("30,50"));
        editor.Navigator->run(Button::Post);
        EXPECT_EQ(editor.AmountEdit->text(), "150,50");

        editor.SaveButton->click();
        EXPECT_FALSE(editor.isVisible());
    });

    EXPECT_EQ(storedDocuments({"RD", "NRD", "GLOWKA", "TYT1", "KWOTAP", "KWOTA", "ONAZ1"}).join(u'\n'),
              "RD=KP NRD=1 GLOWKA=True TYT1=Wpłata za fakturę KWOTAP=100 KWOTA=150,5 ONAZ1=Hurtownia\n"
              "RD=KP NRD=1 GLOWKA= TYT1=Druga KWOTAP=20 KWOTA= ONAZ1=\n"
              "RD=KP NRD=1 GLOWKA= TYT1=Trzecia KWOTAP=30,5 KWOTA= ONAZ1=");
    EXPECT_EQ(window->StatusPanels[3]->text(), FormatCashState(Amount("1150.50")));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

// Closing with Esc after changing the date asks; No brings the old date back.
TEST_F(DocumentEditorsTest, ClosingWithUnsavedChangesAsksWhetherToSaveThem)
{
    addDocument("K1", 1, "KP", 1, Amount("10"), {}, "2019.03.10");
    struct Case {
        PromptButton answer;
        const char *storedDate;
    };
    for (const Case &c : {Case{No, "2019.03.10"}, Case{Yes, "2019.03.20"}}) {
        SCOPED_TRACE(c.storedDate);
        start();
        showDocuments();
        prompt.clear();
        prompt.answer(c.answer);

        withModal<TKASAF1>([&] { window->EditDocumentAction->trigger(); }, [&](TKASAF1 &editor) {
            Type(editor.DateEdit, QStringLiteral("20190320"));
            QTest::keyClick(&editor, Qt::Key_Escape);
            EXPECT_FALSE(editor.isVisible());
        });

        EXPECT_EQ(prompt.shownOnce("Czy zapisać zmiany ?").icon, PromptIcon::Warning);
        EXPECT_EQ(storedDocuments({"DATA"}), QStringList{QStringLiteral("DATA=") + QString::fromLatin1(c.storedDate)});
        EXPECT_EQ(data->TNAG.asString(QStringLiteral("DATA")), c.storedDate);
        TearDown();
    }
}

TEST_F(DocumentEditorsTest, ADocumentOfAClosedReportIsOnlyShown)
{
    addReport("K1", 2, Amount("0"), true, Amount("10"));
    addDocument("K1", 2, "KPD", 1, Amount("10"));
    start();
    showDocuments();
    ASSERT_FALSE(window->EditDocumentAction->isEnabled());

    // A double click still shows it.
    withModal<TKASAF1>([&] { window->editDocument(); }, [&](TKASAF1 &editor) {
        EXPECT_EQ(editor.KindLabel->text(), "KPD");
        for (TableFieldEdit *field : {editor.NumberEdit, editor.DateEdit, editor.ContractorNumberEdit, editor.TaxNumberEdit,
                                      editor.Name1Edit, editor.StreetEdit, editor.PostalCodeEdit, editor.TownEdit})
            EXPECT_TRUE(field->isReadOnly());
        EXPECT_FALSE(editor.LineGrid->tableModel().flags(editor.LineGrid->tableModel().index(0, 0)) & Qt::ItemIsEditable);
        emit editor.ContractorNumberEdit->editingFinished();
        editor.reject();
    });
    EXPECT_EQ(storedDocuments({"ONAZ1"}), QStringList{"ONAZ1=KPD odbiorca"});
    EXPECT_TRUE(prompt.messages().isEmpty());
}

// The settlement of the selected advance: what is left follows the advance and every expense.
TEST_F(DocumentEditorsTest, TheSettlementShowsWhatIsLeftToReturnOrToPayOut)
{
    addDocument("K1", 1, "WZ", 3, Amount("500"), {}, "2019.03.04", {Amount("500")});
    start();
    showDocuments();

    withModal<TKASAF11>([&] { window->SettlementAction->trigger(); }, [&](TKASAF11 &editor) {
        EXPECT_EQ(editor.KindLabel->text(), "RZ");
        EXPECT_EQ(editor.AdvanceNumberEdit->text(), "WZ 3");
        EXPECT_EQ(editor.AdvanceDateEdit->text(), "2019.03.04");
        EXPECT_EQ(editor.TakenByEdit->text(), "WZ odbiorca");
        EXPECT_EQ(editor.AdvanceAmountEdit->text(), "500,00");
        EXPECT_EQ(editor.ResultLabel->text(), "Do zwrotu :");
        EXPECT_EQ(editor.ResultEdit->text(), "500,00");
        EXPECT_EQ(editor.LineGrid->tableModel().rowCount(), 0); // the header row is not an expense

        AddLine(editor, QStringLiteral("Bilety"), QStringLiteral("200"));
        AddLine(editor, QString(), QStringLiteral("120"));
        editor.Navigator->run(Button::Post);
        EXPECT_EQ(editor.ExpensesEdit->text(), "320,00");
        EXPECT_EQ(editor.ResultLabel->text(), "Do zwrotu :");
        EXPECT_EQ(editor.ResultEdit->text(), "180,00");

        AddLine(editor, QString(), QStringLiteral("330"));
        editor.Navigator->run(Button::Post);
        EXPECT_EQ(editor.ResultLabel->text(), "Do wypłaty :");
        EXPECT_EQ(editor.ResultEdit->text(), "150,00");

        Type(editor.AdvanceAmountEdit, QStringLiteral("700"));
        EXPECT_EQ(editor.ResultLabel->text(), "Do zwrotu :");
        EXPECT_EQ(editor.ResultEdit->text(), "50,00");
        editor.SaveButton->click();
    });

    EXPECT_EQ(storedDocuments({"RD", "GLOWKA", "TYT1", "L1", "KWOTAP", "OKOD", "KWOTA"}).mid(2, 1),
              QStringList{"RD=RZ GLOWKA=True TYT1=Bilety L1=700 KWOTAP=650 OKOD=+ KWOTA=50"});
    EXPECT_FALSE(ledger->filters().lineRowsOnly()); // the lines show the header row again
}

// "Zapisz" gives the request its first item's text in the list; Ctrl+Z keeps the text it had.
TEST_F(DocumentEditorsTest, ARequestSavedWithZapiszListsItsFirstItem)
{
    struct Case {
        bool withSaveButton;
        const char *listed;
    };
    for (const Case &c : {Case{true, "Paliwo"}, Case{false, ""}}) {
        SCOPED_TRACE(c.listed);
        start();
        showDocuments();
        withModal<TKASAF14>([&] { window->AdvanceRequestAction->trigger(); }, [&](TKASAF14 &editor) {
            EXPECT_EQ(editor.RequestGroup->title(), "Wniosek o zaliczkę");
            AddLine(editor, QStringLiteral("Paliwo"), QStringLiteral("80"));
            if (c.withSaveButton)
                editor.SaveButton->click();
            else {
                QApplication::setActiveWindow(&editor);
                QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
            }
            EXPECT_FALSE(editor.isVisible());
        });
        const TableModel &documents = window->DocumentGrid->tableModel();
        const int row = documents.currentRow();
        EXPECT_EQ(documents.data(documents.index(row, documents.columnOf(QStringLiteral("TYT1")))).toString(), c.listed);
        EXPECT_EQ(documents.data(documents.index(row, documents.columnOf(QStringLiteral("KWOTA")))).toString(), "80,00");
        TearDown();
    }
}

} // namespace

namespace {

TEST_F(DocumentEditorsTest, EnterMovesThroughTheFieldsAsTabDoes)
{
    start();
    showDocuments();
    withModal<TKASAF1>([&] { window->PayoutAction->trigger(); }, [&](TKASAF1 &editor) {
        QApplication::setActiveWindow(&editor);
        EXPECT_EQ(QApplication::focusWidget(), editor.DateEdit); // the number of a KW is not typed
        QList<QWidget *> visited;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            visited.append(QApplication::focusWidget());
        }
        EXPECT_EQ(visited, (QList<QWidget *>{editor.ContractorNumberEdit, editor.TaxNumberEdit, editor.Name1Edit}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(editor.isVisible());
    });
    EXPECT_TRUE(prompt.messages().isEmpty());
}

} // namespace

namespace {

// Keys typed right after a click on a line go into that line (no delayed editing swallows them).
TEST_F(DocumentEditorsTest, TypingIntoALineRightAfterClickingItEditsIt)
{
    start();
    showDocuments();
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        QApplication::setActiveWindow(&editor);
        TableGrid &grid = *editor.LineGrid;
        const QRect amountCell = grid.visualRect(grid.model()->index(0, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, amountCell.center());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, amountCell.center());
        for (const char key : {'4', '2'})
            QTest::keyClick(QApplication::focusWidget(), key); // the first key opens the cell's editor
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(Cell(grid.tableModel(), 0, 1), "42,00");
        editor.saveAndClose();
    });
    EXPECT_EQ(storedDocuments({"KWOTA"}), QStringList{"KWOTA=42"});
}

} // namespace

namespace {

// The number of a request or a settlement is worked out, never typed: the editor starts on the
// date, and a text a field refuses is said once and leaves the editor usable.
TEST_F(DocumentEditorsTest, RequestAndSettlementEditorsStartOnTheirFirstTypableField)
{
    addDocument("K1", 1, "WZ", 1, Amount("80"), {}, "2019.03.10", {Amount("80")});
    addDocument("K1", 1, "RZ", 1, Amount("500"), QStringLiteral("+"), "2019.03.11");
    start();
    showDocuments();
    const auto check = [&](DocumentEditor &editor) {
        QApplication::setActiveWindow(&editor);
        EXPECT_TRUE(editor.NumberEdit->isReadOnly());
        EXPECT_EQ(QApplication::focusWidget(), editor.DateEdit);
        QTest::keyClicks(editor.NumberEdit, QStringLiteral("7"));
        editor.saveAndClose();
        EXPECT_FALSE(editor.isVisible());
    };
    window->DocumentGrid->tableModel().table().first();
    withModal<TKASAF14>([&] { window->editDocument(); }, [&](TKASAF14 &editor) { check(editor); });
    window->DocumentGrid->tableModel().table().next();
    withModal<TKASAF11>([&] { window->editDocument(); }, [&](TKASAF11 &editor) { check(editor); });
    EXPECT_EQ(storedDocuments({"RD", "NRD"}).filter(QStringLiteral("NRD=1")).size(), 3);
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

TEST_F(DocumentEditorsTest, AFieldThatRefusesATextSaysSoOnceAndShowsTheStoredValueAgain)
{
    addDocument("K1", 1, "RZ", 1, Amount("500"), QStringLiteral("+"));
    start();
    showDocuments();
    withModal<TKASAF11>([&] { window->editDocument(); }, [&](TKASAF11 &editor) {
        // The message box takes the focus from the control, which asks to take the text again.
        int focusLosses = 0;
        prompt.whileShowing([&] {
            if (++focusLosses <= 3)
                emit editor.AdvanceAmountEdit->editingFinished();
        });
        const QString before = editor.AdvanceAmountEdit->text();
        Type(editor.AdvanceAmountEdit, QStringLiteral("abc"));
        EXPECT_EQ(prompt.messages().size(), 1) << prompt.texts().join(u'|').toStdString();
        EXPECT_EQ(editor.AdvanceAmountEdit->text(), before);
        emit editor.AdvanceAmountEdit->editingFinished();
        editor.saveAndClose();
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(prompt.messages().size(), 1);
    });
}

// Whatever the editor, a document of a closed report is shown and nothing of it is written.
TEST_F(DocumentEditorsTest, EveryEditorShowsADocumentOfAClosedReportReadOnly)
{
    expectEveryEditorShowsTheDocumentOnly(true, 255);
}

TEST_F(DocumentEditorsTest, EveryEditorShowsADocumentReadOnlyToAViewer)
{
    expectEveryEditorShowsTheDocumentOnly(false, 1);
}

} // namespace

namespace {

struct NumberAnswer final : NumberChangeDialog {
    QString number;
    std::optional<QString> askNewNumber(int) override { return number; }
};

// After a number change every line of the document is still in its editor, as on disk.
TEST_F(DocumentEditorsTest, AllSevenLinesFollowANumberChange)
{
    addDocument("K1", 1, "KP", 1, Amount("7"), {}, "2019.03.10", QList<Money>(6, Amount("1")));
    start();
    showDocuments();
    withModal<TKASAF1>([&] { window->editDocument(); }, [&](TKASAF1 &editor) {
        ASSERT_EQ(editor.LineGrid->tableModel().rowCount(), 7);
        NumberAnswer answer;
        answer.number = QStringLiteral("5");
        ledger->numberChange().changeNumber(answer);
        Process();
        EXPECT_EQ(editor.NumberEdit->text(), "KP 5");
        EXPECT_EQ(data->TPOZ.recordCount(), 7);
        EXPECT_EQ(editor.LineGrid->tableModel().rowCount(), 7);
        editor.saveAndClose();
    });
    EXPECT_EQ(storedDocuments({"NRD"}), QStringList(7, QStringLiteral("NRD=5")));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

} // namespace

namespace {

// A control takes no more than its field holds, so nothing typed is cut when it is stored; the
// tax number is the exception: pasted with spaces and dashes it is found without them.
TEST_F(DocumentEditorsTest, ControlsTakeNoMoreThanTheirFieldsAndATaxNumberIsFoundWithoutSpacesAndDashes)
{
    start();
    showDocuments();
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        EXPECT_EQ(editor.Name1Edit->maxLength(), 50);
        Type(editor.Name1Edit, QString(60, u'n'));
        EXPECT_EQ(editor.Name1Edit->text(), QString(50, u'n'));

        TableModel &lines = editor.LineGrid->tableModel();
        EXPECT_FALSE(lines.setData(lines.index(0, 0), QString(151, u'x')));
        EXPECT_EQ(prompt.shownOnce(QStringLiteral("Tekst jest za długi: pole mieści najwyżej 150 znaków.")).icon,
                  PromptIcon::Warning);
        prompt.clear();

        for (const char *typed : {"123 456 78 90", " 123 - 456 - 78 - 90 "}) {
            SCOPED_TRACE(typed);
            Type(editor.Name1Edit, QStringLiteral("x"));
            Type(editor.TaxNumberEdit, QString::fromUtf8(typed));
            EXPECT_EQ(editor.Name1Edit->text(), "Hurtownia");
            EXPECT_EQ(editor.TaxNumberEdit->text(), "123-456-78-90");
        }
        editor.saveAndClose();
    });
    EXPECT_EQ(storedDocuments({"ONAZ1", "ONIP"}), QStringList{"ONAZ1=Hurtownia ONIP=123-456-78-90"});
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

} // namespace

namespace {

// Keys as a person types them: each goes where the focus is at that moment.
void TypeKeys(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

// The lines are typed from the keyboard alone: Down on the last line and Insert begin a new one,
// Enter moves on as Tab does, an untouched new line is dropped when left, and Tab from the last
// cell stores the line and goes on to the next control.
TEST_F(DocumentEditorsTest, LinesAreAddedAndStoredFromTheKeyboard)
{
    start();
    showDocuments();
    QWidget *after = nullptr;
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        QApplication::setActiveWindow(&editor);
        TableGrid &grid = *editor.LineGrid;
        const TableModel &lines = grid.tableModel();
        const auto key = [](Qt::Key pressed) {
            QTest::keyClick(QApplication::focusWidget(), pressed);
            Process();
        };
        grid.setFocus(Qt::TabFocusReason);
        grid.setCurrentIndex(lines.index(0, 0));
        TypeKeys(QStringLiteral("Pierwsza"));
        key(Qt::Key_Tab);
        TypeKeys(QStringLiteral("10"));
        key(Qt::Key_Return); // the amount is taken, on to the account
        key(Qt::Key_Down);   // a new line, at its first column
        EXPECT_EQ(grid.currentIndex(), lines.index(1, 0));
        key(Qt::Key_Down); // an untouched new line gets no other one
        key(Qt::Key_Up);   // and is dropped when left
        EXPECT_EQ(lines.rowCount(), 1);
        key(Qt::Key_Insert);
        TypeKeys(QStringLiteral("Druga"));
        key(Qt::Key_Return);
        TypeKeys(QStringLiteral("20"));
        key(Qt::Key_Tab); // into the account
        key(Qt::Key_Tab); // out of the grid, the line stored
        after = QApplication::focusWidget();
        EXPECT_EQ(Cell(lines, 1, 0), "Druga");
        EXPECT_EQ(lines.table().state(), TableState::Browse);
        editor.saveAndClose();
    });
    EXPECT_FALSE(after == nullptr || qobject_cast<TableGrid *>(after)) << "Tab stayed in the grid";
    EXPECT_EQ(storedDocuments({"TYT1", "KWOTAP"}), QStringList({"TYT1=Pierwsza KWOTAP=10", "TYT1=Druga KWOTAP=20"}));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

// Lines typed one after another, each begun with the navigator's "+", go each into its own line;
// at the limit the eighth is refused with the ledger's message, the seventh stays as typed and
// keeps the focus (a space typed next does not press "+" again).
TEST_F(DocumentEditorsTest, EachLineTypedAfterPlusGoesIntoANewLineUpToTheLimit)
{
    start();
    showDocuments();
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        QApplication::setActiveWindow(&editor);
        TableGrid &grid = *editor.LineGrid;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(0, 0)).center());
        for (int line = 1; line <= 8; ++line) {
            SCOPED_TRACE(line);
            if (line > 1) {
                QTest::mouseClick(editor.Navigator->button(Button::Insert), Qt::LeftButton);
                Process();
            }
            if (line == 8)
                break;
            TypeKeys(QStringLiteral("Pozycja %1").arg(line));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            TypeKeys(QString::number(line));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // into the account
            Process();
        }
        EXPECT_EQ(QApplication::focusWidget(), &grid);
        EXPECT_EQ(grid.currentIndex().row(), 6);
        editor.saveAndClose();
    });
    EXPECT_EQ(prompt.shownOnce(QStringLiteral("Dokument może mieć najwyżej 7 pozycji.")).icon, PromptIcon::Warning);
    QStringList expected;
    for (int line = 1; line <= 7; ++line)
        expected.append(QStringLiteral("TYT1=Pozycja %1 KWOTAP=%1").arg(line));
    EXPECT_EQ(storedDocuments({"TYT1", "KWOTAP"}).join(u'|').toStdString(), expected.join(u'|').toStdString());
}

} // namespace

namespace {

// Ctrl+Z undoes the typing first; with nothing left to undo a field gives it to the window
// ("Zapisz i zamknij") and a grid cell drops the line's change.
TEST_F(DocumentEditorsTest, CtrlZUndoesTheTypingBeforeAnythingElse)
{
    start();
    showDocuments();
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        QApplication::setActiveWindow(&editor);
        TableGrid &grid = *editor.LineGrid;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(0, 0)).center());
        TypeKeys(QStringLiteral("Abc"));
        auto *list = qobject_cast<QComboBox *>(QApplication::focusWidget()); // descriptions to choose from
        QLineEdit *cell = list ? list->lineEdit() : qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(cell, nullptr);
        QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_NE(cell->text(), "Abc");
        EXPECT_TRUE(editor.isVisible());
        while (cell->isUndoAvailable())
            QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
        Process();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(grid.tableModel().table().state(), TableState::Browse);

        editor.Name1Edit->setFocus();
        QTest::keyClicks(editor.Name1Edit, QStringLiteral("Xy"));
        QTest::keyClick(editor.Name1Edit, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_NE(editor.Name1Edit->text(), "Xy");
        EXPECT_TRUE(editor.isVisible());
        while (editor.Name1Edit->isUndoAvailable())
            QTest::keyClick(editor.Name1Edit, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(editor.Name1Edit, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_FALSE(editor.isVisible());
    });
    EXPECT_EQ(storedDocuments({"TYT1", "ONAZ1"}), QStringList{"TYT1= ONAZ1="});
}

} // namespace

namespace {

// The account lists show each account's name beside its code; the document stores the code.
TEST_F(DocumentEditorsTest, AccountListsShowTheNameBesideTheCode)
{
    for (const bool onReport : {false, true}) {
        SCOPED_TRACE(onReport);
        setParameter("B3", onReport);
        start();
        showDocuments();
        withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
            if (onReport) {
                EXPECT_EQ(editor.AccountCombo->itemText(1), "201  Rozrachunki");
                editor.AccountCombo->setCurrentIndex(1);
                emit editor.AccountCombo->textActivated(editor.AccountCombo->currentText());
            } else {
                TableGrid &grid = *editor.LineGrid;
                const QModelIndex account = grid.model()->index(0, 2);
                QWidget *cell = grid.itemDelegate()->createEditor(grid.viewport(), QStyleOptionViewItem(), account);
                auto *list = qobject_cast<QComboBox *>(cell);
                ASSERT_NE(list, nullptr);
                EXPECT_EQ(list->itemText(0), "100  Kasa");
                list->setCurrentIndex(1);
                grid.itemDelegate()->setModelData(list, grid.model(), account);
                delete cell;
            }
            editor.saveAndClose();
        });
        EXPECT_EQ(storedDocuments({"KONTO"}).first(), "KONTO=201");
        TearDown();
        tree.addRows(yearTable("KASA\\NAGKASA.DB"), {}); // keeps the tree; the next start adds a document
    }
}

} // namespace

// A new document left by Esc or the window's close button, with nothing saved into it, leaves
// nothing stored; once a line is stored it stays; a document that existed before stays anyway.
TEST_F(DocumentEditorsTest, ANewDocumentLeftWithoutSavingLeavesNothingStored)
{
    start();
    showDocuments();
    const auto leave = [&](DocumentEditor &editor, bool byCloseButton) {
        if (byCloseButton)
            editor.close();
        else
            QTest::keyClick(&editor, Qt::Key_Escape);
        EXPECT_FALSE(editor.isVisible());
    };
    struct Case {
        QAction *command;
        bool byCloseButton;
    };
    for (const Case &c : {Case{window->ReceiptAction, false}, Case{window->PayoutAction, true},
                          Case{window->FreeReceiptAction, false}, Case{window->FreePayoutAction, true},
                          Case{window->AdvanceRequestAction, false}, Case{window->SettlementAction, true}}) {
        SCOPED_TRACE(c.command->text().toStdString());
        withModal<DocumentEditor>([&] { c.command->trigger(); }, [&](DocumentEditor &editor) { leave(editor, c.byCloseButton); });
        EXPECT_EQ(storedDocuments({"RD"}), QStringList{});
    }

    withModal<TKASAF11>([&] { window->SettlementAction->trigger(); }, [&](TKASAF11 &editor) {
        AddLine(editor, QStringLiteral("Bilet"), QStringLiteral("12"));
        editor.Navigator->run(Button::Post);
        leave(editor, false);
    });
    EXPECT_EQ(storedDocuments({"RD", "NRD", "GLOWKA"}), (QStringList{"RD=RZ NRD=1 GLOWKA=True", "RD=RZ NRD=1 GLOWKA="}));
    withModal<TKASAF11>([&] { window->editDocument(); }, [&](TKASAF11 &editor) { leave(editor, false); });
    EXPECT_EQ(storedDocuments({"RD"}).size(), 2);
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

// The editor's date takes only a date of the books: a year typed with a stray digit is refused at
// the field.
TEST_F(DocumentEditorsTest, TheDateFieldRefusesAYearThatCannotBeRight)
{
    addDocument("K1", 1, "RZ", 1, Amount("0"), QStringLiteral("+"), "2019.03.10");
    start();
    showDocuments();
    withModal<TKASAF11>([&] { window->editDocument(); }, [&](TKASAF11 &editor) {
        Type(editor.DateEdit, QStringLiteral("00190312"));
        prompt.shownOnce(QStringLiteral("Niepoprawna data: 0019.03.12\rRok daty musi leżeć między 1990 a 2020."));
        // The refused date does not stay in the field: the stored one is back.
        EXPECT_EQ(editor.DateEdit->text(), QStringLiteral("2019.03.10"));
        Type(editor.DateEdit, QStringLiteral("20190312"));
        editor.saveAndClose();
    });
    EXPECT_EQ(storedDocuments({"DATA"}), QStringList{"DATA=2019.03.12"});
}
