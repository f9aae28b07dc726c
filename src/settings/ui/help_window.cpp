#include "settings/ui/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QUrl &guide, QString pdfFile, QWidget *parent)
    : QWidget(parent, Qt::Window), Browser(new QTextBrowser(this)), Contents(new QTreeWidget(this)),
      SearchEdit(new QLineEdit(this)), SearchResult(new QLabel(this)), pdfFile_(std::move(pdfFile))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Pomoc - instrukcja obsługi programu Kasa"));
    Browser->setObjectName(QStringLiteral("HelpText"));
    Browser->setOpenExternalLinks(true);
    Browser->setSource(guide, QTextDocument::MarkdownResource);
    Contents->setObjectName(QStringLiteral("HelpContents"));
    Contents->setHeaderLabel(QStringLiteral("Spis treści"));
    Contents->header()->setStretchLastSection(true);
    fillContents();
    connect(Contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { showHeading(item->data(0, Qt::UserRole).toInt()); });
    connect(Contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { showHeading(item->data(0, Qt::UserRole).toInt()); });

    SearchEdit->setObjectName(QStringLiteral("HelpSearch"));
    SearchEdit->setPlaceholderText(QStringLiteral("wpisz szukany tekst"));
    auto *next = new QPushButton(QStringLiteral("Szukaj dalej"), this);
    auto *previous = new QPushButton(QStringLiteral("Szukaj wstecz"), this);
    connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { findText(SearchEdit->text()); });
    connect(next, &QPushButton::clicked, this, [this] { findText(SearchEdit->text()); });
    connect(previous, &QPushButton::clicked, this, [this] { findText(SearchEdit->text(), true); });
    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        SearchEdit->setFocus();
        SearchEdit->selectAll();
    });

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Szukaj :"), this));
    searchRow->addWidget(SearchEdit, 1);
    searchRow->addWidget(next);
    searchRow->addWidget(previous);
    searchRow->addWidget(SearchResult);
    if (!pdfFile_.isEmpty()) {
        auto *pdf = new QPushButton(QStringLiteral("Wersja PDF"), this);
        pdf->setToolTip(QStringLiteral("Instrukcja w pliku PDF, do wydruku"));
        connect(pdf, &QPushButton::clicked, this, [this] {
            // Without a PDF viewer the user still learns where the file is.
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(pdfFile_)))
                QMessageBox::information(this, QStringLiteral("Wersja PDF"),
                                         QStringLiteral("Nie można uruchomić przeglądarki plików PDF.\n"
                                                        "Instrukcja w pliku PDF jest w :\n%1")
                                             .arg(QDir::toNativeSeparators(pdfFile_)));
        });
        searchRow->addWidget(pdf);
    }
    auto *close = new QPushButton(QStringLiteral("Zamknij"), this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    searchRow->addWidget(close);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(Contents);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(splitter, 1);
    resize(960, 700);
}

void HelpWindow::fillContents()
{
    Contents->clear();
    headingBlocks_.clear();
    QList<QTreeWidgetItem *> parents;
    for (QTextBlock block = Browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level <= 0 || level > 3)
            continue;
        auto *item = new QTreeWidgetItem({block.text()});
        item->setData(0, Qt::UserRole, int(headingBlocks_.size()));
        headingBlocks_.append(block.blockNumber());
        while (parents.size() >= level)
            parents.removeLast();
        if (parents.isEmpty())
            Contents->addTopLevelItem(item);
        else
            parents.last()->addChild(item);
        while (parents.size() < level - 1)
            parents.append(item);
        parents.append(item);
    }
    Contents->expandToDepth(0);
}

QStringList HelpWindow::headings() const
{
    QStringList result;
    for (int number : headingBlocks_)
        result << Browser->document()->findBlockByNumber(number).text();
    return result;
}

void HelpWindow::showHeading(int index)
{
    if (index < 0 || index >= headingBlocks_.size())
        return;
    const QTextBlock block = Browser->document()->findBlockByNumber(headingBlocks_[index]);
    QTextCursor cursor(block);
    Browser->setTextCursor(cursor);
    const QRectF place = Browser->document()->documentLayout()->blockBoundingRect(block);
    Browser->verticalScrollBar()->setValue(int(place.top()));
}

bool HelpWindow::findText(const QString &text, bool backward)
{
    SearchResult->clear();
    if (text.trimmed().isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (Browser->find(text, flags))
        return true;
    // Once more from the other end of the guide.
    const QTextCursor kept = Browser->textCursor();
    QTextCursor end(Browser->document());
    end.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    Browser->setTextCursor(end);
    if (Browser->find(text, flags))
        return true;
    Browser->setTextCursor(kept);
    SearchResult->setText(QStringLiteral("Nie znaleziono."));
    return false;
}

void HelpWindow::showSection(const QString &heading)
{
    showGuide();
    const int index = int(headings().indexOf(heading));
    if (index < 0)
        return;
    showHeading(index);
    for (QTreeWidgetItemIterator item(Contents); *item; ++item)
        if ((*item)->data(0, Qt::UserRole).toInt() == index)
            Contents->setCurrentItem(*item);
}

void HelpWindow::showGuide()
{
    show();
    raise();
    activateWindow();
}
