#pragma once

#include "ledger/ui/document_editor.h"

class QGroupBox;
class QLabel;
class QPushButton;

// "Dokument" for the settlement of an advance (RZ): the advance, up to eighteen expenses, and
// what is left: "Do zwrotu :" (the employee returns it) or "Do wypłaty :" (the desk pays it out),
// following every change of the advance and the expenses.
class TKASAF11 final : public DocumentEditor {
    Q_OBJECT

public:
    TKASAF11(const DocumentEditorServices &services, QWidget *parent = nullptr);

    // "Zapisz i zamknij" (button or Ctrl+Z): lines, the header with the first expense's text;
    // closes.
    void saveAndClose() override;
    // The result label, as the settlement rule decides it.
    void showSettlementLabel(const QString &label);

    QGroupBox *AdvanceGroup;
    TableFieldEdit *AdvanceNumberEdit;
    TableFieldEdit *AdvanceDateEdit;
    TableFieldEdit *TakenByEdit;
    TableFieldEdit *AdvanceAmountEdit;
    TableFieldEdit *ExpensesEdit;
    QLabel *ResultLabel;
    TableFieldEdit *ResultEdit;
    TableFieldEdit *AttachmentsEdit;
    QPushButton *SaveButton;

protected:
    void prepare() override;
    bool mayClose() override;

private:
    QGroupBox *buildAdvanceGroup();
};
