#include "maintenance/ui/new_year_window.h"

#include "base/global_state.h"
#include "store/table_helper_context.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

NewYearWindow::NewYearWindow(TableHelperContext &tables, QWidget *parent)
    : QDialog(parent), NewYear(new QLineEdit(this)), SourceYear(new QLineEdit(this)), Folder(new QLineEdit(this)),
      Log(new QListWidget(this)), Start(new QPushButton(QStringLiteral("START"), this)),
      Przerwij(new QPushButton(QStringLiteral("PRZERWIJ"), this)), tables_(tables)
{
    setObjectName(QStringLiteral("NewYearWindow"));
    setWindowTitle(QStringLiteral("Otwarcie baz na nowy rok"));
    setModal(true);
    resize(560, 420);
    Log->setObjectName(QStringLiteral("Log"));
    Log->setSelectionMode(QAbstractItemView::NoSelection);
    NewYear->setMaxLength(4);
    SourceYear->setMaxLength(4);
    Start->setDefault(true);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Otwarcie baz na rok :"), NewYear);
    fields->addRow(QStringLiteral("na podstawie roku :"), SourceYear);
    fields->addRow(QStringLiteral("Katalog :"), Folder);
    auto *commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(Start);
    commands->addWidget(Przerwij);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Log, 1);
    layout->addLayout(commands);

    connect(Start, &QPushButton::clicked, this, &NewYearWindow::StartClick);
    connect(Przerwij, &QPushButton::clicked, this, &QDialog::reject);
}

int NewYearWindow::showModal()
{
    const GlobalState &state = tables_.state;
    NewYear->setText(QString::number(state.CurrentYear.toInt() + 1));
    SourceYear->setText(state.CurrentYear);
    Folder->setText(state.DataRoot);
    return exec();
}

void NewYearWindow::StartClick()
{
    Start->setEnabled(false);
    const NewYearReport report =
        OpenNewYear({Folder->text(), SourceYear->text().trimmed(), NewYear->text().trimmed()}, tables_, *this);
    if (!report.folder.isEmpty())
        Folder->setText(report.folder);
    Start->setEnabled(true);
}

void NewYearWindow::addLine(const QString &line)
{
    Log->addItem(line);
    Log->scrollToBottom();
    // Each table takes a moment: let the line show before the work on it starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
