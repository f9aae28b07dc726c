#include "print/ui/print_module_window.h"

#include "widgets/progress_window.h"
#include "print/text_print_module.h"
#include "print/ui/print_module.h"
#include "print/ui/preview_view.h"
#include "support/print_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void TypeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

class PrintWindow : public PrintFixture {
protected:
    TDRUK *settings = nullptr;
    std::unique_ptr<TDRUKF> window;

    void SetUp() override
    {
        printer.printers = {QStringLiteral("Biuro"), QStringLiteral("Księgowość")};
        printer.current = QStringLiteral("Księgowość");
        open();
    }

    // The module and its window as at the program's start.
    void open()
    {
        window.reset();
        recreate();
        settings = &druk();
        window = std::make_unique<TDRUKF>(*settings);
    }

    QList<bool> targetsChecked() const
    {
        return {window->WindowsTarget->isChecked(), window->DosTarget->isChecked(),
                window->ExportTarget->isChecked(), window->NoCuttingTarget->isChecked()};
    }
};

TEST_F(PrintWindow, TheFourTargetsActAsOneGroup)
{
    window->show();
    EXPECT_EQ(targetsChecked(), (QList<bool>{true, false, false, false}));

    window->NoCuttingTarget->click();
    EXPECT_EQ(targetsChecked(), (QList<bool>{false, false, false, true}));
    EXPECT_EQ(settings->TypWydruku, drBW);

    window->DosTarget->click();
    EXPECT_EQ(targetsChecked(), (QList<bool>{false, true, false, false}));
    EXPECT_EQ(settings->TypWydruku, drDOS);

    window->ExportTarget->click();
    window->ExportTarget->click();  // a second click keeps it chosen
    EXPECT_EQ(targetsChecked(), (QList<bool>{false, false, true, false}));
    EXPECT_EQ(settings->TypWydruku, drEKSPORT);
}

TEST_F(PrintWindow, ShowsTheFieldsAndEveryControlWritesItsFieldAtOnce)
{
    settings->TypWydruku = drDOS;
    settings->Port = drLPT2;
    settings->Rodzaj = drNORMALNY;
    settings->Pl = drMAZOWIA;
    settings->MarL = 3;
    settings->Podzial = true;
    window->show();
    EXPECT_TRUE(window->DosTarget->isChecked());
    EXPECT_EQ(window->PortList->currentText(), "LPT2");
    EXPECT_EQ(window->DensityChoice->currentText(), "normalny");
    EXPECT_EQ(window->LetterChoice->currentText(), "MAZOVIA");
    EXPECT_EQ(window->LeftMarginEdit->text(), "3");
    EXPECT_EQ(window->LinesEdit->text(), "70");
    EXPECT_TRUE(window->PageDivisionCheck->isChecked());
    EXPECT_FALSE(window->DirectCheck->isChecked());
    EXPECT_EQ(window->PrinterList->currentText(), "Księgowość");
    EXPECT_TRUE(window->TextFileCheck->isChecked());
    EXPECT_FALSE(window->TextFileCheck->isEnabled());

    window->PortList->setCurrentIndex(2);
    window->DensityChoice->setCurrentIndex(3);
    window->LetterChoice->setCurrentIndex(3);
    window->DirectCheck->click();
    window->PageDivisionCheck->click();
    TypeInto(window->TopMarginEdit, QStringLiteral(" 4"));
    TypeInto(window->LeftMarginEdit, QStringLiteral("x"));
    TypeInto(window->DeviceEdit, QStringLiteral("/dev/usb/lp0"));
    window->PrinterList->setCurrentIndex(0);
    emit window->PrinterList->textActivated(window->PrinterList->currentText());

    EXPECT_EQ(settings->Port, drLPT3);
    EXPECT_EQ(settings->Rodzaj, drROZSZCZELONY);
    EXPECT_EQ(settings->Pl, drLATIN852);
    EXPECT_TRUE(settings->Bufor);
    EXPECT_FALSE(settings->Podzial);
    EXPECT_EQ(settings->MarG, 4);
    EXPECT_EQ(settings->MarL, 0);
    EXPECT_EQ(settings->DRURZADZENIE, "/dev/usb/lp0");
    EXPECT_EQ(printer.current, "Biuro");
}

TEST_F(PrintWindow, SavesOnlyOnTheCommandAndAShortPageBecomesSeventyAtTheNextStart)
{
    window->show();
    TypeInto(window->LinesEdit, QStringLiteral("5"));
    EXPECT_EQ(settings->MaxLiniaDOS, 5);
    open();
    EXPECT_EQ(settings->MaxLiniaDOS, 70);
    EXPECT_FALSE(QFile::exists(settingsFile()));

    window->show();
    window->NoCuttingTarget->click();
    TypeInto(window->LinesEdit, QStringLiteral("5"));
    window->SaveButton->click();
    open();
    window->show();
    EXPECT_TRUE(window->NoCuttingTarget->isChecked());
    EXPECT_EQ(window->LinesEdit->text(), "70");
}

TEST_F(PrintWindow, PrintsTheSelectedLinesOrTheWholePreview)
{
    settings->TypWydruku = drBW;
    settings->setPreviewText(QStringLiteral("pierwszy\ndrugi\ntrzeci\n"));
    window->show();
    PreviewView &preview = *window->Preview;
    ASSERT_EQ(preview.toPlainText(), "pierwszy\ndrugi\ntrzeci\n");

    // From the start of the second row to the start of the fourth (the empty one after the
    // last line break), as a drag of the mouse or Shift and the arrows leave it.
    preview.setCursorPosition({1, 0});
    preview.setCursorPosition({3, 0}, true);
    const QString selected = pathOf(QStringLiteral("zaznaczone.txt"));
    saveDialog.answer(selected);
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_EQ(contentsOf(selected), "drugi\r\ntrzeci\r\n");
    EXPECT_FALSE(preview.hasSelection());

    // Every line the selection touches, however little of the first and the last: here a
    // click in the second row and a Shift+click in the third.
    const int rowHeight = preview.fontMetrics().lineSpacing();
    QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, QPoint(30, rowHeight + rowHeight / 2));
    QTest::mouseClick(preview.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(12, 2 * rowHeight + rowHeight / 2));
    ASSERT_TRUE(preview.hasSelection());
    EXPECT_EQ(preview.anchorPosition().row, 1);
    EXPECT_EQ(preview.cursorPosition().row, 2);
    const QString touched = pathOf(QStringLiteral("dotkniete.txt"));
    saveDialog.answer(touched);
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_EQ(contentsOf(touched), "drugi\r\ntrzeci\r\n");

    // An edit in the preview is what gets printed.
    QTest::keyClick(&preview, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&preview, QStringLiteral("dopisany"));
    QTest::keyClick(&preview, Qt::Key_Return);
    EXPECT_EQ(settings->previewText(), "pierwszy\ndrugi\ntrzeci\ndopisany\n");
    const QString whole = pathOf(QStringLiteral("calosc.txt"));
    saveDialog.answer(whole);
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_EQ(contentsOf(whole), "pierwszy\r\ndrugi\r\ntrzeci\r\ndopisany\r\n");
    EXPECT_TRUE(prompt.messages().isEmpty());
}

// "Zapisz arkusz" saves the preview's table as a workbook, or as CSV for a ".csv" name; a listing
// without a table is refused and an earlier file stays.
TEST_F(PrintWindow, SavesThePreviewsTableAsASpreadsheet)
{
    settings->setPreviewText(QStringLiteral("Raport stanu kas.\n"
                                            "| SYMBOL | Nazwa Kasy | Stan Kasy      |\n"
                                            "| KAS1   | Kasa       |  1 234 , 50 PLN |\n"));
    window->show();
    const QString csv = pathOf(QStringLiteral("stan.csv"));
    saveDialog.answer(csv);
    QTest::mouseClick(window->SheetButton, Qt::LeftButton);
    EXPECT_EQ(contentsOf(csv), QByteArray("\xEF\xBB\xBFSYMBOL;Nazwa Kasy;Stan Kasy\r\nKAS1;Kasa;1234,50 PLN\r\n"));
    const QString book = pathOf(QStringLiteral("stan.xlsx"));
    saveDialog.answer(book);
    QTest::mouseClick(window->SheetButton, Qt::LeftButton);
    QFile workbook(book);
    ASSERT_TRUE(workbook.open(QIODevice::ReadOnly));
    EXPECT_TRUE(workbook.read(2) == "PK"); // a zip, as every workbook
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();

    settings->setPreviewText(QStringLiteral("Bez tabeli\n"));
    saveDialog.answer(csv);
    QTest::mouseClick(window->SheetButton, Qt::LeftButton);
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(contentsOf(csv).startsWith("\xEF\xBB\xBFSYMBOL"));
}

TEST(PrintModuleWindow, ShowsItselfAsThePreviewWhenABufferedJobEnds)
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    TPRACA progressWindow;
    PrintModule module(prompt, progressWindow, nullptr,
                       PrintSettingsStore(dir.filePath(QStringLiteral("druk.ini"))));
    TDRUK &druk = module.druk();
    druk.Bufor = false;
    EXPECT_FALSE(module.window().isVisible());

    druk.START(QStringLiteral("Wydruk kasy"), 2);
    EXPECT_TRUE(progressWindow.isVisible());
    druk.PISZ(QStringLiteral("Kasa główna"));
    druk.Postep();
    druk.PISZ(QStringLiteral("Stan: 1 234,50"));
    druk.Postep();
    druk.STOP(true);

    TDRUKF &window = module.window();
    EXPECT_FALSE(progressWindow.isVisible());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.windowTitle(), "Moduł wydruku");
    EXPECT_EQ(window.Preview->toPlainText(),
              "Kasa główna\nStan: 1 234,50\n&GProgram KASA - Koniec wydruku: Wydruk kasy\n");
    EXPECT_EQ(window.Preview->font().family(), "Courier New");
    EXPECT_EQ(window.Preview->font().pointSize(), 8);

}

}  // namespace
