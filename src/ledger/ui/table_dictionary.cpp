#include "ledger/ui/table_dictionary.h"

#include "store/table.h"
#include "widgets/table_grid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

TableDictionaryWindow::TableDictionaryWindow(Table &table, const QList<GridColumn> &columns,
                                             const QList<TableNavigator::Entry> &buttons, Prompt &prompt,
                                             QWidget *parent)
    : QDialog(parent)
    , table_(table)
    , prompt_(prompt)
{
    setModal(true);
    auto *model = new TableModel(table, columns);
    model->setEditable(true);
    model->setPrompt(&prompt);
    Grid = new TableGrid(model, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setLineEntry(true);
    Navigator = new TableNavigator(*model, prompt, buttons, this);
    Navigator->setObjectName(QStringLiteral("Navigator"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 1);
    layout->addWidget(Navigator);

    // A new row is typed into at once.
    connect(Navigator, &TableNavigator::inserted, this, [this] { Grid->setFocus(); });
    fitToColumns();
}

TableModel &TableDictionaryWindow::model() const
{
    return Grid->tableModel();
}

int TableDictionaryWindow::showModal()
{
    model().reload();
    prepareToShow();
    Navigator->updateButtons();
    if (const int row = model().currentRow(); row >= 0) {
        Grid->setCurrentIndex(model().index(row, 0));
        Grid->selectRow(row);
    }
    Grid->setFocus();
    return exec();
}

void TableDictionaryWindow::done(int result)
{
    model().postPending();
    if (table_.isOpen() && (table_.state() == TableState::Edit || table_.state() == TableState::Insert))
        return;
    QDialog::done(result);
}

void TableDictionaryWindow::fitToColumns()
{
    const int gridWidth = Grid->horizontalHeader()->length() + Grid->verticalScrollBar()->sizeHint().width()
                          + 2 * Grid->frameWidth();
    const QMargins margins = layout()->contentsMargins();
    resize(std::max(gridWidth + margins.left() + margins.right(), Navigator->sizeHint().width()), 360);
}
