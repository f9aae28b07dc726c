#include "main_window_fixture.h"

#include "app/ui/contractors_wiring.h"
#include "contractors/envelope_margins.h"
#include "contractors/ui/contractor_description_window.h"
#include "contractors/ui/contractor_number_dialog.h"
#include "contractors/ui/envelope_margins_window.h"
#include "contractors/ui/table_field_memo.h"
#include "contractors/ui/contractor_catalogue_window.h"
#include "ledger/ui/receipt_payout_editor.h"
#include "ledger/ui/advance_request_editor.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

// The main window of desk K1 with an open report and three contractors, reaching the catalogue
// through the program's own wiring.
class CatalogueWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addDesk("K1");
        addReport("K1", 1, Amount("1000"));
        addRows("FIN\\KONTRAHI.DB",
                {{{"NR", 3}, {"SKROT", "Alfa"}, {"MIEJSC", "Łódź"}},
                 {{"NR", 7}, {"NIP", "123-456-78-90"}, {"SKROT", "Zefir"}, {"NAZWA1", "Hurtownia ZEFIR"},
                  {"NAZWA2", "spółka jawna"}, {"KOD", "00-001"}, {"MIEJSC", "Warszawa"}, {"UL", "Prosta 1"}},
                 {{"NR", 9}, {"SKROT", "Łoś"}, {"MIEJSC", "Kraków"}}});
        commands.chooseContractor = [this] { return wired.chooseContractor(); };
        commands.contractorCatalogue = [this] { wired.contractorCatalogue(); };
    }

    void startWithCatalogue(int accessLevel = 255)
    {
        start({}, accessLevel);
        wiring = std::make_unique<ContractorWiring>(*data, prompt, [this] { return window.get(); });
        wiring->wire(wired);
    }

    TKONF &catalogue() { return wiring->catalogue(); }

    // Shows the catalogue from the menu and runs the steps in it.
    void inCatalogue(const std::function<void(TKONF &)> &steps)
    {
        withModal<TKONF>([&] { wired.contractorCatalogue(); }, steps);
    }

    // The document's catalogue button: shows the catalogue, finds Zefir, hands him over.
    void pickZefirThroughCatalogue(QWidget &editor)
    {
        QToolButton *button = nullptr;
        for (QToolButton *candidate : editor.findChildren<QToolButton *>())
            if (candidate->toolTip() == QStringLiteral("Katalog kontrahentów"))
                button = candidate;
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        withModal<TKONF>([&] { button->click(); }, [&](TKONF &window) {
            QTest::keyClicks(window.ShortNameSearch, QStringLiteral("zef"));
            EXPECT_EQ(window.Name1Edit->text(), "Hurtownia ZEFIR");
            window.TransferButton->click();
        });
    }

    ExternalCommands wired;
    std::unique_ptr<ContractorWiring> wiring;
};

TEST_F(CatalogueWindowTest, TheChosenContractorIsCopiedIntoAReceiptAndAnAdvanceRequest)
{
    startWithCatalogue();
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    Process();

    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); }, [&](TKASAF1 &editor) {
        pickZefirThroughCatalogue(editor);
        EXPECT_EQ(editor.ContractorNumberEdit->text(), "7");
        EXPECT_EQ(editor.Name1Edit->text(), "Hurtownia ZEFIR");
    });
    withModal<TKASAF14>([&] { window->AdvanceRequestAction->trigger(); }, [&](TKASAF14 &editor) {
        pickZefirThroughCatalogue(editor);
        EXPECT_EQ(editor.EmployeeNumberEdit->text(), "7");
    });
    const QStringList expected(2, QStringLiteral("ONR=7 ONAZ1=Hurtownia ZEFIR ONAZ2=spółka jawna OKOD=00-001 "
                                                 "OMIEJSC=Warszawa OUL=Prosta 1 ONIP=123-456-78-90"));
    EXPECT_EQ(storedDocuments({"ONR", "ONAZ1", "ONAZ2", "OKOD", "OMIEJSC", "OUL", "ONIP"}), expected);
}

TEST_F(CatalogueWindowTest, ClosingWithoutTransferHandsNothingOver)
{
    startWithCatalogue();
    const QList<std::pair<const char *, std::function<void(TKONF &)>>> ways{
        {"Zamknij", [](TKONF &window) { window.CloseAction->trigger(); }},
        {"Esc", [](TKONF &window) { QTest::keyClick(&window, Qt::Key_Escape); }},
    };
    for (const auto &[name, close] : ways) {
        SCOPED_TRACE(name);
        bool chosen = true;
        withModal<TKONF>([&] { chosen = wired.chooseContractor(); }, close);
        EXPECT_FALSE(chosen);
    }
    // A double click on the list hands the row over.
    bool chosen = false;
    withModal<TKONF>([&] { chosen = wired.chooseContractor(); }, [](TKONF &window) {
        const QModelIndex cell = window.Grid->model()->index(1, 2);
        window.Grid->setCurrentIndex(cell);
        emit window.Grid->doubleClicked(cell);
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(data->TKontrah.asString("SKROT"), "Zefir");
}

TEST_F(CatalogueWindowTest, TheWindowKeepsItsOrderAndRowAndCountsItsRows)
{
    startWithCatalogue();
    inCatalogue([&](TKONF &window) {
        EXPECT_EQ(window.windowTitle(), "KATALOG KONTRAHENTÓW");
        EXPECT_EQ(window.CountLabel->text(), "Ilość pozycji  3");
        QStringList titles;
        for (int column = 0; column < window.Grid->model()->columnCount(); ++column)
            titles << window.Grid->model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_EQ(titles, (QStringList{"NUMER", "NIP", "SKRÓT NAZWY", "MIEJSCOWOŚĆ"}));
        window.TownSearch->insert(QStringLiteral("L"));
        EXPECT_EQ(window.TownEdit->text(), "Łódź");
        window.addContractor();
        EXPECT_EQ(window.NumberEdit->text(), "10");
        EXPECT_EQ(window.CountLabel->text(), "Ilość pozycji  4");
        // The short name comes from the name when the user leaves it.
        window.Name1Edit->insert(QStringLiteral("Nowa Firma Handlowo-Usługowa"));
        emit window.Name1Edit->editingFinished();
        EXPECT_EQ(window.ShortNameEdit->text(), "Nowa Firma Handlowo-");
        window.ShortNameSearch->insert(QStringLiteral("Ł"));
    });
    EXPECT_EQ(tree.column(yearTable("FIN\\KONTRAHI.DB"), "SKROT"),
              (QStringList{"Alfa", "Zefir", "Łoś", "Nowa Firma Handlowo-"}));
    inCatalogue([&](TKONF &window) {
        EXPECT_EQ(window.ShortNameEdit->text(), "Łoś");
        EXPECT_EQ(data->TKontrah.indexName(), "Sinx");
    });
}

TEST_F(CatalogueWindowTest, NumberChangeAndDeleteFromTheWindow)
{
    startWithCatalogue();
    addRows("FIN\\KONTRAHO.DB", {{{"NR", 3}, {"OPIS", "opis Alfy"}}});
    inCatalogue([&](TKONF &window) {
        withModal<ContractorNumberDialog>([&] { emit window.NumberEdit->doubleClicked(); }, [](ContractorNumberDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Zmiana numeru kontrahenta :");
            EXPECT_EQ(dialog.Number->text().trimmed(), "3");
            dialog.Number->selectAll();
            QTest::keyClicks(dialog.Number, QStringLiteral("5"));
            QTest::keyClick(dialog.Number, Qt::Key_Return);
        });
        EXPECT_EQ(window.NumberEdit->text(), "5");
        prompt.answer(Ok);
        window.DeleteAction->trigger();
        EXPECT_EQ(window.CountLabel->text(), "Ilość pozycji  2");
    });
    EXPECT_EQ(tree.column(yearTable("FIN\\KONTRAHI.DB"), "NR"), (QStringList{"7", "9"}));
    EXPECT_TRUE(tree.column(yearTable("FIN\\KONTRAHO.DB"), "NR").isEmpty());
    EXPECT_EQ(prompt.count("Usuń rekord"), 1);
}

// A user who may only look finds, reads and hands over a contractor, and changes nothing.
TEST_F(CatalogueWindowTest, AViewerOnlyLooksAndPicks)
{
    startWithCatalogue(1);
    addRows("FIN\\KONTRAHO.DB", {{{"NR", 3}, {"OPIS", "opis Alfy"}}});
    const QStringList before = tree.column(yearTable("FIN\\KONTRAHI.DB"), "NR");
    inCatalogue([&](TKONF &window) {
        for (QWidget *button : {static_cast<QWidget *>(window.AddButton), static_cast<QWidget *>(window.SaveButton),
                                static_cast<QWidget *>(window.DeleteButton)})
            EXPECT_FALSE(button->isEnabled());
        for (QAction *action : {window.NewAction, window.SaveAction, window.DeleteAction, window.ImportAction})
            EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        EXPECT_TRUE(window.Name1Edit->isReadOnly());
        // The number is not changed by a double click either.
        bool numberAsked = false;
        QTimer::singleShot(0, [&] {
            if (auto *dialog = qobject_cast<ContractorNumberDialog *>(QApplication::activeModalWidget())) {
                numberAsked = true;
                dialog->reject();
            }
        });
        emit window.NumberEdit->doubleClicked();
        Process();
        EXPECT_FALSE(numberAsked);
        window.DescriptionAction->trigger();
        ContractorDescriptionWindow &description = *window.descriptionWindow();
        EXPECT_TRUE(description.DescriptionEdit->isReadOnly());
        description.hide();
        QTest::keyClicks(window.ShortNameSearch, QStringLiteral("zef"));
        EXPECT_TRUE(window.TransferButton->isEnabled());
    });
    EXPECT_EQ(tree.column(yearTable("FIN\\KONTRAHI.DB"), "NR"), before);
    EXPECT_EQ(tree.column(yearTable("FIN\\KONTRAHO.DB"), "OPIS"), QStringList{"opis Alfy"});
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

TEST_F(CatalogueWindowTest, TheDescriptionFollowsTheCatalogueAndIsStoredOnHiding)
{
    startWithCatalogue();
    inCatalogue([&](TKONF &window) {
        EXPECT_TRUE(window.DescriptionAction->isVisible());
        window.DescriptionAction->trigger();
        ContractorDescriptionWindow &description = *window.descriptionWindow();
        ASSERT_TRUE(description.isVisible());
        EXPECT_EQ(description.ShortNameEdit->text(), "Alfa");
        EXPECT_EQ(description.ProvinceCombo->count(), 16);
        description.DescriptionEdit->setFocus();
        description.DescriptionEdit->insertPlainText(QStringLiteral("Stały klient"));
        description.NextButton->click();
        EXPECT_EQ(description.ShortNameEdit->text(), "Zefir");
        EXPECT_EQ(description.DescriptionEdit->toPlainText(), "");
        description.EmailEdit->setFocus();
        QTest::keyClicks(description.EmailEdit, QStringLiteral("biuro@zefir.pl"));
        description.hide();
    });
    EXPECT_EQ(tree.column(yearTable("FIN\\KONTRAHO.DB"), "NR"), (QStringList{"3", "7"}));
    EXPECT_EQ(tree.column(yearTable("FIN\\KONTRAHO.DB"), "EMAIL"), (QStringList{"", "biuro@zefir.pl"}));
}

TEST_F(CatalogueWindowTest, WithoutTheDescriptionTableItsEntryIsHidden)
{
    tree.removeTable(yearTable("FIN\\KONTRAHO.DB"));
    startWithCatalogue();
    inCatalogue([&](TKONF &window) { EXPECT_FALSE(window.DescriptionAction->isVisible()); });
    EXPECT_TRUE(prompt.messages().isEmpty());
    // The tools wait for the import window; the envelope for the form engine.
    EXPECT_FALSE(catalogue().ImportAction->isEnabled());
    bool exported = false;
    catalogue().setCatalogueExport([&] { exported = true; });
    catalogue().ExportAction->trigger();
    EXPECT_TRUE(exported);
}

TEST_F(CatalogueWindowTest, MarginsAreSavedAndShownAgain)
{
    startWithCatalogue();
    const QString file = MarginsFilePath(tree.workingFolder());
    const auto inMargins = [&](const std::function<void(EnvelopeMarginsWindow &)> &steps) {
        withModal<EnvelopeMarginsWindow>([&] { catalogue().MarginsAction->trigger(); }, steps);
    };
    inMargins([&](EnvelopeMarginsWindow &margins) {
        EXPECT_EQ(margins.TopMargin->text(), "10");
        EXPECT_TRUE(margins.Note->isVisibleTo(&margins));
        margins.TopMargin->setText(QStringLiteral("abc"));
        margins.save();
        prompt.shownOnce(QStringLiteral("Margines górny nie jest liczbą."));
        EXPECT_TRUE(margins.isVisible());
        margins.TopMargin->setText(QStringLiteral("25"));
        margins.LeftMargin->setText(QStringLiteral("40"));
        margins.save();
        EXPECT_FALSE(margins.isVisible());
    });
    QFile stored(file);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), EncodeEnvelopeMargins({25, 40}));
    stored.close();
    inMargins([&](EnvelopeMarginsWindow &margins) {
        EXPECT_EQ(margins.TopMargin->text(), "25");
        EXPECT_EQ(margins.LeftMargin->text(), "40");
        EXPECT_FALSE(margins.Note->isVisibleTo(&margins));
        margins.TopMargin->setText(QStringLiteral("12,75"));
        QTest::mouseClick(margins.findChild<QPushButton *>(QStringLiteral("CancelButton")), Qt::LeftButton);
    });
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), EncodeEnvelopeMargins({25, 40}));
}

} // namespace
