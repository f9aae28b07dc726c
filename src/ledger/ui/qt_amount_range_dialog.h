#pragma once

#include "print/listing_dialogs.h"

#include <QDialog>

class QLineEdit;

// "Zakres kwot": "Kwota od :" and "Kwota do :", Abort and Yes. Keeps the texts for the next
// listing.
class QtAmountRangeDialog final : public QDialog, public AmountRangeDialog {
    Q_OBJECT

public:
    explicit QtAmountRangeDialog(QWidget *parent = nullptr);

    std::optional<AmountRangeTexts> askAmountRange() override;
    void showAmountRange(const AmountRangeTexts &texts) override;

    QLineEdit *From;
    QLineEdit *To;
};
