#pragma once

#include "print/money_pictures.h"

#include <QDialog>

class QChart;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
struct GlobalState;
struct LedgerTables;

// "Wykresy": pictures of a desk's money through the working year: the closing balance of each
// report, the receipts against the payouts of each month, and the turnover of each account in a
// chosen period, largest first. Amounts in the money format, the exact figure beside the pointer;
// "Drukuj", "Zapisz PDF" and "Zapisz PNG". Created once and kept.
class MoneyPicturesWindow final : public QDialog {
    Q_OBJECT

public:
    MoneyPicturesWindow(const LedgerTables &tables, const GlobalState &state, QWidget *parent = nullptr);

    enum Picture { CashState = 0, Turnover = 1, Accounts = 2 };

    // Shows the window on the current desk's cash state; returns when it is closed.
    void showModal(const QString &currentDesk);
    // The desks read again, the desk chosen and its picture drawn.
    void prepare(const QString &currentDesk);
    // Draws the picture chosen for the desk chosen.
    void draw();
    // What the picture shows: its series' names and their values, in order.
    QList<QPair<QString, QList<Money>>> shownSeries() const { return shown_; }

    bool savePdf(const QString &path);
    bool savePng(const QString &path);

    QComboBox *PictureChoice;
    QComboBox *DeskChoice;
    QDateEdit *FromDate;
    QDateEdit *ToDate;
    QChartView *ChartView;
    QPushButton *PrintButton;
    QPushButton *PdfButton;
    QPushButton *PngButton;

private:
    QChart *cashStateChart(const QString &desk, const QString &currency);
    QChart *turnoverChart(const QString &desk, const QString &currency);
    QChart *accountsChart(const QString &desk, const QString &currency);
    void print();
    void saveAs(bool pdf);

    const LedgerTables &tables_;
    const GlobalState &state_;
    const int year_;
    QList<DeskCurrency> desks_;
    QList<QPair<QString, QList<Money>>> shown_;
};
