#include "exchange_fixture.h"

#include "maintenance/exchange_folder.h"
#include "maintenance/ui/import_export_window.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

namespace {

class TFexpimpTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        tree.addRows(contractorTable(), {{{QStringLiteral("NR"), 1}, {QStringLiteral("SKROT"), QStringLiteral("Alfa")}},
                                         {{QStringLiteral("NR"), 2}, {QStringLiteral("SKROT"), QStringLiteral("Beta")}}});
        contractors = std::make_unique<Table>(tree.session(), QStringLiteral("TKontrah"));
        contractors->setTableName(contractorTable());
        contractors->open();
        window = std::make_unique<TFexpimp>(helpers, tree.programFolder(), &prompt);
        window->setFileQuestion([this](bool save, const QString &folder, const QString &name, const QStringList &filters) {
            asked.append(QStringList{save ? QStringLiteral("zapis") : QStringLiteral("odczyt"), folder, name} + filters);
            return chosen;
        });
    }
    void TearDown() override
    {
        window.reset();
        contractors->close();
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < window->Mapa->rowCount(); ++r)
            texts.append(window->Mapa->item(r, c)->text());
        return texts;
    }

    std::unique_ptr<Table> contractors;
    std::unique_ptr<TFexpimp> window;
    std::optional<QString> chosen;
    QList<QStringList> asked;
};

TEST_F(TFexpimpTest, ExportModeWritesTheColumnsLeftInTheMapAndRemembersTheFolder)
{
    window->prepare(ContractorExchangeSource(*contractors), ExchangeMode::Export);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Export danych"));
    EXPECT_EQ(window->Plik->text(), QStringLiteral("Export danych"));
    EXPECT_TRUE(window->Importuj->isHidden());
    EXPECT_EQ(column(0).mid(0, 3), (QStringList{"TKontrahNR", "TKontrahNIP", "TKontrahSKROT"}));
    EXPECT_EQ(column(1), column(0));
    for (int r = 0; r < window->Mapa->rowCount(); ++r)
        if (r != 0 && r != 2)
            window->Mapa->item(r, 1)->setText(QString());

    window->ZapiszKatalogClick(); // nothing chosen yet: nothing written
    EXPECT_FALSE(QFile::exists(window->settingsFile()));
    chosen = file(QStringLiteral("wynik.txt"));
    window->PlikClick();
    EXPECT_EQ(asked.value(0), (QStringList{"zapis", "", "export.txt", "Plik exportow (*.txt)", "Wszystki pliki (*.*)"}));
    EXPECT_EQ(readFile(*chosen), QByteArray("TKontrahNR\tTKontrahSKROT\t\r\n1\tAlfa\t\r\n2\tBeta\t\r\n"));
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("Wyeksportowano wierszy: 2.\rPlik : ") + *chosen});

    window->ZapiszKatalogClick();
    EXPECT_EQ(window->settingsFile(), tree.dataRoot() + QStringLiteral("ImpExp.txt"));
    EXPECT_EQ(readFile(window->settingsFile()), (tree.root() + QStringLiteral("\r\n")).toUtf8());
    // The next showing starts in that folder.
    window->prepare(ContractorExchangeSource(*contractors), ExchangeMode::Export);
    chosen.reset();
    window->PlikClick();
    EXPECT_EQ(asked.value(1).value(1), tree.root());
}

TEST_F(TFexpimpTest, ImportWaitsForAFileWithItsKeyColumn)
{
    window->prepare(ContractorExchangeSource(*contractors), ExchangeMode::Import);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Import danych"));
    EXPECT_EQ(window->Plik->text(), QStringLiteral("Plik importowany"));
    EXPECT_FALSE(window->Importuj->isHidden());
    EXPECT_FALSE(window->Importuj->isEnabled());
    EXPECT_EQ(column(1).mid(0, 2), (QStringList{"klucz", ""}));
    EXPECT_FALSE(window->Mapa->item(0, 1)->flags() & Qt::ItemIsEditable);

    chosen = writeFile(QStringLiteral("bez.txt"), "TKontrahSKROT\tTKontrahNIP\t\r\nGamma\t1\t\r\n");
    window->PlikClick();
    EXPECT_EQ(asked.value(0), (QStringList{"odczyt", "", "import.txt", "Plik tekstowy  (*.txt)",
                                           "CSV rozdzielany średnikami (*.csv)"}));
    EXPECT_FALSE(window->Importuj->isEnabled());
    EXPECT_EQ(column(0).mid(0, 3), (QStringList{"TKontrahSKROT", "TKontrahNIP", "TKontrahNR"}));
    EXPECT_EQ(column(1).mid(0, 3), (QStringList{"TKontrahSKROT", "TKontrahNIP", ""}));

    chosen = writeFile(QStringLiteral("z_kluczem.txt"), "TKontrahSKROT\tTKontrahNR\t\r\nGamma\t2\t\r\nDelta\t3\t\r\n");
    window->PlikClick();
    ASSERT_TRUE(window->Importuj->isEnabled());
    window->ImportujClick();
    EXPECT_EQ(prompt.texts(), QStringList{"Zaimportowano wierszy: 2 (nowych: 1, zmienionych: 1)."});
    EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("SKROT")), (QStringList{"Alfa", "Gamma", "Delta"}));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("zz_kluczem.txt"))));
}

TEST_F(TFexpimpTest, ARefusedImportSaysWhyAndKeepsTheWindow)
{
    window->prepare(ContractorExchangeSource(*contractors), ExchangeMode::Import);
    chosen = writeFile(QStringLiteral("zly.txt"), "TKontrahNR\tTKontrahKOD\t\r\n5\t00-950x\t\r\n");
    window->PlikClick();
    window->ImportujClick();
    EXPECT_EQ(prompt.texts(), QStringList{"Wiersz 2, kolumna 2 (TKontrahKOD): wartość \"00-950x\" - tekst dłuższy niż 6 "
                                          "znaków.\rNic nie zostało zaimportowane."});
    EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("NR")), (QStringList{"1", "2"}));
    EXPECT_TRUE(QFile::exists(*chosen));
    EXPECT_EQ(window->result(), 0);
}

} // namespace
