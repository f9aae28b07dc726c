#pragma once

#include "ledger/month_dialog.h"

#include <QDialog>

class QComboBox;

// "Raport miesięczny": "Miesiąc :" with the months "01" to "12", and Abort and OK.
class QtMonthDialog final : public QDialog, public MonthDialog {
    Q_OBJECT

public:
    explicit QtMonthDialog(QWidget *parent = nullptr);

    std::optional<QString> askMonth(const QString &presetMonth) override;

    QComboBox *Month;
};
