#include "users/ui/operator_list_window.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"
#include "widgets/table_grid.h"
#include "widgets/table_model.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNameField = QStringLiteral("NAZWISKO");

bool IsEditing(const Table &table)
{
    return table.isOpen() && (table.state() == TableState::Edit || table.state() == TableState::Insert);
}

} // namespace

OperatorListWindow::OperatorListWindow(Table &operators, GlobalState &state, Prompt &prompt, QWidget *parent)
    : QDialog(parent), operators_(operators), state_(state), prompt_(prompt)
{
    setObjectName(QStringLiteral("OperatorListWindow"));
    setWindowTitle(QString::fromUtf8("Użytkownicy"));
    setModal(true);
    auto *model = new TableModel(operators_, {GridColumn{.field = QStringLiteral("KOD")},
                                              GridColumn{.field = kNameField, .title = QStringLiteral("IMIE i NAZWISKO"),
                                                         .width = 220}});
    model->setEditable(true);
    model->setPrompt(&prompt_);
    Grid = new TableGrid(model, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    ChangeButton = new QPushButton(QString::fromUtf8("Zmień użytkownika"), this);
    ChangeButton->setObjectName(QStringLiteral("ChangeButton"));
    ChangeButton->setAutoDefault(false);

    auto *menus = new QMenuBar(this);
    QMenu *tasks = menus->addMenu(QStringLiteral("Zadania"));
    NewOperatorAction = tasks->addAction(QString::fromUtf8("Nowy użytkownik"));
    DeleteOperatorAction = tasks->addAction(QString::fromUtf8("Kasuj użytkownika"));

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(Grid, 1);
    layout->addWidget(ChangeButton, 0, Qt::AlignCenter);

    connect(ChangeButton, &QPushButton::clicked, this, [this] { changeOperator(); });
    connect(NewOperatorAction, &QAction::triggered, this, [this] { newOperator(); });
    connect(DeleteOperatorAction, &QAction::triggered, this, [this] { deleteOperator(); });
    resize(420, 360);
}

int OperatorListWindow::showModal()
{
    Grid->tableModel().reload();
    if (const int row = Grid->tableModel().currentRow(); row >= 0)
        Grid->selectRow(row);
    Grid->setFocus();
    return exec();
}

void OperatorListWindow::changeOperator()
{
    run([this] {
        if (!operators_.isOpen() || !Grid->tableModel().postPending() || operators_.isEmpty())
            return;
        state_.OperatorName = operators_.asString(kNameField);
        accept();
    });
}

void OperatorListWindow::newOperator()
{
    run([this] {
        if (!operators_.isOpen() || !Grid->tableModel().postPending())
            return;
        operators_.insert();
        Grid->setFocus();
    });
}

void OperatorListWindow::deleteOperator()
{
    run([this] {
        if (!operators_.isOpen() || operators_.isEmpty())
            return;
        if (operators_.state() == TableState::Insert) {
            operators_.cancel();
            return;
        }
        const QString question =
            QString::fromUtf8("Czy skazować użytkownika ") + operators_.asString(kNameField) + QStringLiteral("?");
        if (prompt_.askYesNo(question, PromptIcon::Warning))
            operators_.deleteRow();
    });
}

void OperatorListWindow::done(int result)
{
    bool stored = true;
    run([&] { stored = !IsEditing(operators_) || PostAndFlush(operators_, prompt_); });
    if (!stored && IsEditing(operators_))
        return;
    QDialog::done(result);
}

void OperatorListWindow::run(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
}
