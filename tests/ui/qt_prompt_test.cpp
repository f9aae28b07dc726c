#include "widgets/qt_prompt.h"
#include "widgets/polish_file_dialog.h"
#include "widgets/polish_translations.h"

#include "support/qt_printers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAbstractProxyModel>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Shows a message through QtPrompt and presses `press` in the box once it is up.
PromptButton ShowAndPress(PromptIcon icon, const QString &text, PromptButtons buttons,
                          const QString &caption, QMessageBox::StandardButton press, SeenBox &seen)
{
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(press)->click();
    });
    QtPrompt prompt;
    return prompt.show(icon, text, buttons, caption);
}

}  // namespace

TEST(QtPrompt, ShowsTheTextOnSeveralLinesUnderTheProgramsTitle)
{
    SeenBox seen;
    const PromptButton pressed = ShowAndPress(PromptIcon::Warning, "Pierwsza\rDruga", Ok, {},
                                              QMessageBox::Ok, seen);
    EXPECT_EQ(pressed, Ok);
    EXPECT_EQ(seen.caption, "Kasa");
    EXPECT_EQ(seen.text, "Pierwsza\nDruga");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtPrompt, MapsIconsAndReturnsTheButtonPressed)
{
    struct Case {
        PromptIcon icon;
        PromptButtons buttons;
        QMessageBox::StandardButton press;
        QMessageBox::Icon shownIcon;
        QMessageBox::StandardButtons shownButtons;
        PromptButton answer;
    };
    const Case cases[] = {
        {PromptIcon::Question, Yes | No, QMessageBox::No, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No, No},
        {PromptIcon::None, Yes | No | Cancel, QMessageBox::Cancel, QMessageBox::NoIcon,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Cancel},
        {PromptIcon::Error, AbortButton | Retry | Ignore, QMessageBox::Retry, QMessageBox::Critical,
         QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, Retry},
        {PromptIcon::Information, Ok | Cancel, QMessageBox::Ok, QMessageBox::Information,
         QMessageBox::Ok | QMessageBox::Cancel, Ok},
    };
    for (const Case &c : cases) {
        SeenBox seen;
        EXPECT_EQ(ShowAndPress(c.icon, "Pytanie", c.buttons, "Błąd", c.press, seen), c.answer);
        EXPECT_EQ(seen.icon, c.shownIcon);
        EXPECT_EQ(seen.buttons, c.shownButtons);
        EXPECT_EQ(seen.caption, "Błąd");
    }
}

// No English word on a button: the box names its buttons itself, and Qt's own dialogs speak
// Polish once its translations are loaded.
TEST(QtPrompt, ButtonsAndQtsOwnDialogsSpeakPolish)
{
    QStringList names;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton *button : box->buttons())
            names.append(button->text().remove(u'&'));
        box->button(QMessageBox::Ok)->click();
    });
    QtPrompt prompt;
    prompt.show(PromptIcon::Question, "Pytanie", Ok | Cancel | Yes | No | AbortButton | Retry | Ignore);
    names.sort();
    EXPECT_EQ(names.join(u'|'), "Anuluj|Ignoruj|Nie|OK|Ponów|Przerwij|Tak");

    QTranslator *translator = InstallPolishTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Polish translations are missing";
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Save"), "&Zachowaj");
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), "Drukowanie");
    QCoreApplication::removeTranslator(translator);
    delete translator;
}


namespace {

// Whatever the system's language, the file list writes a file's day in Polish.
TEST(PolishFileDialog, TheFilesDaysAreWrittenInPolish)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("wykaz.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFileDialog dialog;
    ShowFileDatesInPolish(dialog);
    if (QLocale::system().name().startsWith(QLatin1String("pl")))
        GTEST_SKIP() << "a Polish system writes its own days in Polish";
    QAbstractProxyModel *list = dialog.proxyModel();
    ASSERT_NE(list, nullptr);
    dialog.setDirectory(dir.path());
    auto *files = qobject_cast<QFileSystemModel *>(list->sourceModel());
    ASSERT_NE(files, nullptr);
    const QModelIndex source = files->index(file.fileName(), 3);
    const QModelIndex shown = list->mapFromSource(source);
    EXPECT_EQ(list->data(shown).toString(), QLocale(QLocale::Polish, QLocale::Poland).toString(files->lastModified(source), QLocale::ShortFormat));
}

} // namespace
