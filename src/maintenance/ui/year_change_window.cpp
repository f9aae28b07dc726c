#include "maintenance/ui/year_change_window.h"

#include "base/global_state.h"
#include "maintenance/year_change.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

YearChangeWindow::YearChangeWindow(GlobalState &state, std::function<void()> reopenTables, QWidget *parent)
    : QDialog(parent), Years(new QListWidget(this)), ZmienRok(new QPushButton(QStringLiteral("Zmień rok"), this)),
      state_(state), reopenTables_(std::move(reopenTables))
{
    setObjectName(QStringLiteral("YearChangeWindow"));
    setWindowTitle(QStringLiteral("Zmiana roku."));
    setModal(true);
    resize(240, 300);
    Years->setObjectName(QStringLiteral("Years"));
    ZmienRok->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Years, 1);
    layout->addWidget(ZmienRok);

    connect(ZmienRok, &QPushButton::clicked, this, &YearChangeWindow::ZmienRokClick);
    connect(Years, &QListWidget::itemDoubleClicked, this, &YearChangeWindow::ZmienRokClick);
}

int YearChangeWindow::showModal()
{
    Years->clear();
    Years->addItems(state_.YearFolders);
    const QList<QListWidgetItem *> current = Years->findItems(state_.CurrentYear, Qt::MatchExactly);
    if (!current.isEmpty())
        Years->setCurrentItem(current.first());
    return exec();
}

void YearChangeWindow::ZmienRokClick()
{
    const QListWidgetItem *chosen = Years->currentItem();
    if (!chosen || !chosen->isSelected())
        return;
    if (ChangeYear(state_, chosen->text(), reopenTables_))
        accept();
}
