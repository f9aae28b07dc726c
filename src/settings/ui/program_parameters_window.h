#pragma once

#include "settings/program_options.h"

#include <QDialog>
#include <QList>

class Prompt;
class QButtonGroup;
class QRadioButton;
class Table;
class TableFieldEdit;

// "Parametry programu": the five choices kept in P2, the document number pattern P1 with its
// legend, and whether accounts are used (B3). Saved when the window closes.
class TKASAF7 final : public QDialog {
    Q_OBJECT

public:
    TKASAF7(Table &parameters, Prompt &prompt, QWidget *parent = nullptr);

    void showModal();

    // The chosen entry of each position, as shown.
    ProgramOptionChoices choices() const;

    QList<QButtonGroup *> OptionGroups; // positions 1 to 5
    TableFieldEdit *NumberTemplateEdit = nullptr;
    QRadioButton *AccountsOn = nullptr;
    QRadioButton *AccountsOff = nullptr;

public slots:
    void done(int result) override;

private:
    QWidget *optionGroup(const ProgramOption &option);
    QWidget *numberTemplateGroup();
    QWidget *accountsGroup();
    void setAccounts(bool on);

    Table &parameters_;
    Prompt &prompt_;
};
