#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

// "Zmiana numeru kontrahenta :": the new number of the current contractor, up to five digits,
// proposed as his present one; "Przerwij" and "Zmień".
class ContractorNumberDialog final : public QDialog {
    Q_OBJECT

public:
    explicit ContractorNumberDialog(QWidget *parent = nullptr);

    // The number typed, or nothing when the dialog was left with "Przerwij".
    std::optional<QString> askNewNumber(int currentNumber);

    QLineEdit *Number;
};
