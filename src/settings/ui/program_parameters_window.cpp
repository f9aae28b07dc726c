#include "settings/ui/program_parameters_window.h"
#include "widgets/window_frame.h"

#include "base/prompt.h"
#include "settings/company_input.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"
#include "users/users_table.h"
#include "widgets/table_field_edit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QString kAccountsField = QStringLiteral("B3");

} // namespace

TKASAF7::TKASAF7(Table &parameters, Prompt &prompt, QWidget *parent)
    : QDialog(parent), parameters_(parameters), prompt_(prompt)
{
    setObjectName(QStringLiteral("TKASAF7"));
    setWindowTitle(QStringLiteral("Parametry programu"));
    const QList<ProgramOption> &options = ProgramOptions();
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    left->addWidget(optionGroup(options[0]));
    left->addWidget(optionGroup(options[1]));
    left->addWidget(numberTemplateGroup());
    right->addWidget(optionGroup(options[2]));
    right->addWidget(optionGroup(options[3]));
    right->addWidget(optionGroup(options[4]));
    right->addWidget(accountsGroup());
    left->addStretch();
    right->addStretch();

    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    QHBoxLayout *buttons = CloseButtonRow(*this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

QWidget *TKASAF7::optionGroup(const ProgramOption &option)
{
    auto *box = new QGroupBox(option.caption, this);
    auto *column = new QVBoxLayout(box);
    auto *group = new QButtonGroup(box);
    for (int i = 0; i < option.entries.size(); ++i) {
        auto *button = new QRadioButton(option.entries[i], box);
        group->addButton(button, i);
        column->addWidget(button);
    }
    OptionGroups.append(group);
    return box;
}

QWidget *TKASAF7::numberTemplateGroup()
{
    auto *box = new QGroupBox(QStringLiteral("Format numeru dokumentu KP i KW"), this);
    auto *column = new QVBoxLayout(box);
    NumberTemplateEdit = new TableFieldEdit(parameters_, QStringLiteral("P1"), box);
    NumberTemplateEdit->setObjectName(QStringLiteral("P1"));
    NumberTemplateEdit->setPrompt(&prompt_);
    const int size = TextFieldSize(parameters_, QStringLiteral("P1"));
    NumberTemplateEdit->setInputCheck([size](const QString &typed) { return TextLengthProblem(typed, size); });
    column->addWidget(NumberTemplateEdit);
    auto *legend = new QLabel(QStringLiteral("[RD] - rodzaj dokumentu\n"
                                             "[NRD] - numer dokumentu\n"
                                             "[OZNACZENIE] - oznaczenie raportu kasowego\n"
                                             "[ROK] - rok dokumentu\n"
                                             "[SYMBOL] - Symbol kasy"),
                              box);
    legend->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(legend);
    return box;
}

QWidget *TKASAF7::accountsGroup()
{
    auto *box = new QGroupBox(QStringLiteral("Wydruk raportu kasowego :"), this);
    auto *column = new QVBoxLayout(box);
    AccountsOn = new QRadioButton(QStringLiteral("wydruk \"KONTA\" na Raporcie Kasowym"), box);
    AccountsOff = new QRadioButton(QStringLiteral("wydruk Raportu Kasowego bez \"KONTA\""), box);
    column->addWidget(AccountsOn);
    column->addWidget(AccountsOff);
    connect(AccountsOn, &QRadioButton::toggled, this, [this](bool on) { setAccounts(on); });
    return box;
}

void TKASAF7::setAccounts(bool on)
{
    try {
        if (!parameters_.isOpen() || (!parameters_.isEmpty() && parameters_.asBoolean(kAccountsField) == on))
            return;
        EnsureEditing(parameters_);
        parameters_.setBoolean(kAccountsField, on);
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
}

ProgramOptionChoices TKASAF7::choices() const
{
    ProgramOptionChoices result{};
    for (int i = 0; i < kProgramOptionCount && i < OptionGroups.size(); ++i)
        result[i] = qMax(0, OptionGroups[i]->checkedId());
    return result;
}

void TKASAF7::showModal()
{
    if (!parameters_.isOpen())
        return;
    try {
        const ProgramOptionChoices shown =
            UnpackProgramOptions(parameters_.isEmpty() ? QString() : parameters_.asString(QStringLiteral("P2")));
        for (int i = 0; i < kProgramOptionCount; ++i)
            OptionGroups[i]->button(shown[i])->setChecked(true);
        PrepareProgramParameters(parameters_);
        NumberTemplateEdit->reload();
        const bool accounts = !parameters_.isEmpty() && parameters_.asBoolean(kAccountsField);
        const QSignalBlocker quietOn(AccountsOn);
        const QSignalBlocker quietOff(AccountsOff);
        (accounts ? AccountsOn : AccountsOff)->setChecked(true);
    } catch (const EngineError &error) {
        prompt_.error(error.message());
        return;
    }
    exec();
}

void TKASAF7::done(int result)
{
    if (!NumberTemplateEdit->commit()) {
        NumberTemplateEdit->setFocus();
        return;
    }
    try {
        SaveProgramParameters(parameters_, choices(), prompt_);
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
    QDialog::done(result);
}
