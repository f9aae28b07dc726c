#include "maintenance/ui/index_repair_window.h"

#include "base/global_state.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

IndexRepairWindow::IndexRepairWindow(Session &session, GlobalState &state,
                                     std::function<void()> rerunOpenSequence, Prompt *prompt,
                                     QWidget *parent)
    : QDialog(parent), session_(session), state_(state), rerunOpenSequence_(std::move(rerunOpenSequence)),
      prompt_(prompt ? *prompt : ownPrompt_)
{
    setObjectName(QStringLiteral("IndexRepairWindow"));
    setWindowTitle(QStringLiteral("Naprawa Indeksów"));
    setModal(true);
    resize(560, 380);

    StartButton = new QPushButton(QStringLiteral("START"), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    Log = new QListWidget(this);
    Log->setObjectName(QStringLiteral("Log"));
    Log->setSelectionMode(QAbstractItemView::NoSelection);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StartButton, 0, Qt::AlignLeft);
    layout->addWidget(Log, 1);

    connect(StartButton, &QPushButton::clicked, this, &IndexRepairWindow::StartClick);
}

void IndexRepairWindow::StartClick()
{
    StartButton->setEnabled(false);
    // The open sequence rebuilds the list; the repair works on the one it finds now.
    RunIndexRepair({session_, prompt_, state_.OpenedTableList, rerunOpenSequence_}, *this);
    StartButton->setEnabled(true);
}

void IndexRepairWindow::clear()
{
    Log->clear();
}

int IndexRepairWindow::addLine(const QString &line)
{
    Log->addItem(line);
    Log->scrollToBottom();
    // Each table takes a moment: let the line show before the work on it starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return Log->count() - 1;
}

void IndexRepairWindow::replaceLine(int position, const QString &line)
{
    if (QListWidgetItem *item = Log->item(position))
        item->setText(line);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
