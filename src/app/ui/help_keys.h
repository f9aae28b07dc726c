#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class HelpWindow;
class QWidget;

// F1 in any window opens the user's guide at that window's chapter: the guide's window is made
// once and kept, over the main window, or over the dialog open at the time (a dialog that waits
// for an answer would otherwise keep the guide from being read).
class HelpKeys final : public QObject {
public:
    HelpKeys(QUrl guide, QString pdfFile, QWidget *mainWindow);
    ~HelpKeys() override;

    // The guide at the chapter of this window (of the window in front when none is given).
    void showHelpFor(QWidget *window = nullptr);
    // The guide's chapter or section for a window, by the window's kind; empty for the guide's
    // beginning.
    static QString sectionFor(const QWidget *window);
    // Every chapter or section some window opens.
    static QStringList chapters();

    HelpWindow *helpWindow() const { return help_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QUrl guide_;
    QString pdfFile_;
    QPointer<QWidget> mainWindow_;
    QPointer<HelpWindow> help_;
};
