#pragma once

#include <QList>
#include <QWidget>

class FieldBinding;
class Prompt;
class QPushButton;
class Table;
class TableFieldCombo;
class TableFieldEdit;
class TableFieldMemo;

// "Opis kontrahenta": the longer description of the current contractor (TKONTRAHo, linked to
// the catalogue by NR), beside his number and short name. "Poprzedni" and "Następny" move
// through the catalogue and the description follows. For a contractor without a description,
// typing into a field starts his row. Hiding the window stores what was typed.
class ContractorDescriptionWindow final : public QWidget {
    Q_OBJECT

public:
    ContractorDescriptionWindow(Table &contractors, Table &descriptions, Prompt &prompt, const QString &helpFile,
                                QWidget *parent = nullptr);

    // What was typed goes into the description row, which is stored; false when it was refused.
    bool store();
    void moveToPrior();
    void moveToNext();
    void openHelp();
    // The description is shown, not taken: for a user who may only look.
    void showOnly();

    TableFieldEdit *NumberEdit;
    TableFieldEdit *ShortNameEdit;
    TableFieldMemo *DescriptionEdit;
    TableFieldEdit *RegonEdit;
    TableFieldEdit *Phone1Edit;
    TableFieldEdit *Phone2Edit;
    TableFieldEdit *FaxEdit;
    TableFieldEdit *EmailEdit;
    TableFieldEdit *WebEdit;
    TableFieldEdit *ContactEdit;
    TableFieldEdit *InvoiceReceiverEdit;
    TableFieldEdit *ResponsibleEdit;
    TableFieldCombo *ProvinceCombo;
    QPushButton *PriorButton;
    QPushButton *NextButton;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void move(bool forward);

    Table &contractors_;
    Table &descriptions_;
    Prompt &prompt_;
    QString helpFile_;
    QList<FieldBinding *> bindings_;
};

// The provinces offered for "Województwo" (any other text is taken too).
QStringList ProvinceNames();
