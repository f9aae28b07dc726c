#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

// The user guide inside the program: its chapters on the left, the text on the right, and a
// search over the text. Opened with "Pomoc" (F1) and kept; it does not block the main window.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    // The guide in Markdown (a file or a resource), and the PDF version when there is one.
    HelpWindow(const QUrl &guide, QString pdfFile, QWidget *parent = nullptr);

    // Shows the window in front, on the contents' first chapter the first time.
    void showGuide();
    // Shows the window in front on the chapter or section of that heading (as showGuide() when
    // the guide has none such).
    void showSection(const QString &heading);
    // Finds the next place of the text after the cursor, from the beginning when there is none
    // further; false (and the cursor stays) when the text is nowhere in the guide.
    bool findText(const QString &text, bool backward = false);
    // The chapters and sections, in order, as the contents list them.
    QStringList headings() const;
    void showHeading(int index);

    QTextBrowser *Browser;
    QTreeWidget *Contents;
    QLineEdit *SearchEdit;
    QLabel *SearchResult;

private:
    void fillContents();

    QString pdfFile_;
    QList<int> headingBlocks_;
};
