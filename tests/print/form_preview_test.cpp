#include "form_test_support.h"

#include "print/forms/form_painter.h"
#include "print/ui/form_preview.h"
#include "support/print_doubles.h"
#include "support/scripted_prompt.h"

#include <QAction>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

// Three pages of numbered lines.
struct ThreePages {
    ThreePages()
    {
        for (int i = 1; i <= 70; ++i)
            rows.append({{"NR", QStringLiteral("Wiersz %1 zażółć").arg(i)}});
        form.dataSet = &rows;
        form.addBand(BandKind::Detail, 10).add(DataText(QString(), "NR", 0, 0, 100));
    }
    RecordList rows;
    ReportForm form{QStringLiteral("Zestawienie")};
};

TEST(FormPreviewWindow, ShowsEveryPageAndSavesThePdf)
{
    ThreePages pages;
    ScriptedPrompt prompt;
    ScriptedSaveFileDialog saveDialog;
    QTemporaryDir dir;
    const QString path = dir.filePath("podglad.pdf");
    saveDialog.answer(path);
    FormPrinting printing(prompt, saveDialog);
    FormPreviewWindow window(LayOutForm(pages.form), pages.form.name, printing);
    window.show();
    window.previewWidget()->updatePreview();
    EXPECT_EQ(window.pageCount(), 3);
    EXPECT_EQ(window.previewWidget()->pageCount(), 3);
    window.findChild<QAction *>("LastPageAction")->trigger();
    EXPECT_EQ(window.previewWidget()->currentPage(), 3);
    EXPECT_EQ(window.findChild<QLabel *>("PageLabel")->text(), QStringLiteral("Strona 3 z 3"));
    // PgUp and PgDn turn the pages; the window fits the screen's free area.
    EXPECT_EQ(window.findChild<QAction *>("PriorPageAction")->shortcut(), QKeySequence(Qt::Key_PageUp));
    window.findChild<QAction *>("PriorPageAction")->trigger();
    EXPECT_EQ(window.previewWidget()->currentPage(), 2);
    EXPECT_EQ(window.findChild<QAction *>("NextPageAction")->shortcut(), QKeySequence(Qt::Key_PageDown));
    EXPECT_EQ(window.findChild<QAction *>("PrintAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(window.height(), free.height());
    EXPECT_LE(window.width(), free.width());
    window.findChild<QAction *>("FacingPagesAction")->trigger();
    EXPECT_EQ(window.previewWidget()->viewMode(), QPrintPreviewWidget::FacingPagesView);

    window.findChild<QAction *>("PdfAction")->trigger();
    ASSERT_EQ(saveDialog.questions().size(), 1);
    EXPECT_EQ(saveDialog.questions()[0].defaultSuffix, "pdf");
    const QString text = PdfText(path);
    EXPECT_EQ(text.count(QChar('\f')), 3);
    EXPECT_TRUE(text.contains(QStringLiteral("Wiersz 70 zażółć")));
}

// Without a printer the user is told and offered the PDF; declining prints nothing and says so
// by the result, accepting writes the file.
TEST(FormPrinting, WithoutAPrinterOffersThePdf)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    ThreePages pages;
    ScriptedPrompt prompt;
    ScriptedSaveFileDialog saveDialog;
    QTemporaryDir dir;
    FormPrinting printing(prompt, saveDialog);
    const FormLayout layout = LayOutForm(pages.form);
    prompt.answer(No);
    EXPECT_FALSE(printing.print(layout, "Zestawienie", false));
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki !!\r"
                                                         "Czy zapisać wydruk w pliku PDF ?")});
    EXPECT_TRUE(saveDialog.questions().isEmpty());

    prompt.answer(Yes);
    saveDialog.answer(dir.filePath("wydruk.pdf"));
    EXPECT_TRUE(printing.print(layout, "Zestawienie", false));
    EXPECT_EQ(PdfText(dir.filePath("wydruk.pdf")).count(QChar('\f')), 3);
}

} // namespace
