#pragma once

#include "ledger/renumbering_dialogs.h"

#include <QDialog>

class QLineEdit;

// "Przenumerowanie": the start number and only "OK"; however it closes, the field's text is used.
class QtRenumberDialog final : public QDialog, public RenumberDialog {
    Q_OBJECT

public:
    explicit QtRenumberDialog(QWidget *parent = nullptr);

    QString askStartNumber(int presetNumber) override;

    QLineEdit *Number;
};

// "Zmiana numeru dokumentu :": the new number, "Przerwij" and "Zmień".
class QtNumberChangeDialog final : public QDialog, public NumberChangeDialog {
    Q_OBJECT

public:
    explicit QtNumberChangeDialog(QWidget *parent = nullptr);

    std::optional<QString> askNewNumber(int currentNumber) override;

    QLineEdit *Number;
};
