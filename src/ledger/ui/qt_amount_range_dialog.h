#pragma once

#include "ledger/small_dialogs.h"

#include <QDialog>

class QLineEdit;

// "Zakres kwot": "Kwota od :" and "Kwota do :", Abort and Yes. Empty the first time; later the
// texts of the last time, without their spaces, as the listing reads them.
class QtAmountRangeDialog final : public QDialog, public AmountRangeDialog {
    Q_OBJECT

public:
    explicit QtAmountRangeDialog(QWidget *parent = nullptr);

    std::optional<AmountRangeTexts> askAmounts() override;

    QLineEdit *From;
    QLineEdit *To;
};
