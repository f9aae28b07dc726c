#include "print/ui/money_pictures_window.h"

#include "widgets/polish_file_dialog.h"

#include "base/global_state.h"
#include "ledger/ledger_tables.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QLocale kPolish(QLocale::Polish, QLocale::Poland);

double Units(Money amount)
{
    return double(amount.units()) / 10000.0;
}

QString MoneyText(double units, const QString &currency)
{
    const QString text = Money::fromUnits(qint64(std::llround(units * 10000.0))).toGroupedString();
    return currency.isEmpty() ? text + QStringLiteral(" zł") : text + u' ' + currency;
}

// An axis of amounts with five or so round steps, written in the money format.
QCategoryAxis *MoneyAxis(double low, double high, const QString &currency)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high - low < 1)
        high = low + 1;
    const double rough = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const double first = std::floor(low / step) * step;
    const double last = std::ceil(high / step) * step;
    for (double value = first; value <= last + step / 2; value += step)
        axis->append(MoneyText(value, currency), value);
    axis->setRange(first, last);
    return axis;
}

// The months along the year, by the days of the year they cover.
QCategoryAxis *MonthAxis(int year)
{
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    for (int month = 1; month <= 12; ++month) {
        const QDate last = QDate(year, month, 1).addMonths(1).addDays(-1);
        axis->append(kPolish.standaloneMonthName(month, QLocale::ShortFormat), last.dayOfYear());
    }
    axis->setRange(0, QDate(year, 12, 31).dayOfYear());
    return axis;
}

QStringList MonthNames()
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names.append(kPolish.standaloneMonthName(month, QLocale::ShortFormat));
    return names;
}

QChart *NewChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setLocale(kPolish);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

void ShowFigure(const QString &text)
{
    QToolTip::showText(QCursor::pos(), text);
}

} // namespace

MoneyPicturesWindow::MoneyPicturesWindow(const LedgerTables &tables, const GlobalState &state, QWidget *parent)
    : QDialog(parent),
      PictureChoice(new QComboBox(this)),
      DeskChoice(new QComboBox(this)),
      FromDate(new QDateEdit(this)),
      ToDate(new QDateEdit(this)),
      ChartView(new QChartView(this)),
      PrintButton(new QPushButton(QStringLiteral("Drukuj"), this)),
      PdfButton(new QPushButton(QStringLiteral("Zapisz PDF"), this)),
      PngButton(new QPushButton(QStringLiteral("Zapisz PNG"), this)),
      tables_(tables),
      state_(state),
      year_(state.CurrentYear.toInt() > 0 ? state.CurrentYear.toInt() : QDate::currentDate().year())
{
    setObjectName(QStringLiteral("MoneyPicturesWindow"));
    setWindowTitle(QStringLiteral("Wykresy"));
    PictureChoice->addItems({QStringLiteral("Stan kasy w roku"), QStringLiteral("Wpłaty i wypłaty w miesiącach"),
                             QStringLiteral("Obroty kont w okresie")});
    for (QDateEdit *date : {FromDate, ToDate}) {
        date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
        date->setCalendarPopup(true);
    }
    FromDate->setDate(QDate(year_, 1, 1));
    ToDate->setDate(QDate(year_, 12, 31));
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->setMinimumSize(760, 460);

    auto *choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("Wykres :"), this));
    choices->addWidget(PictureChoice);
    choices->addWidget(new QLabel(QStringLiteral("Kasa :"), this));
    choices->addWidget(DeskChoice, 1);
    choices->addWidget(new QLabel(QStringLiteral("od"), this));
    choices->addWidget(FromDate);
    choices->addWidget(new QLabel(QStringLiteral("do"), this));
    choices->addWidget(ToDate);
    auto *close = new QPushButton(QStringLiteral("Zamknij"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {PrintButton, PdfButton, PngButton, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(ChartView, 1);
    layout->addLayout(buttons);

    connect(PictureChoice, &QComboBox::currentIndexChanged, this, [this] { draw(); });
    connect(DeskChoice, &QComboBox::currentIndexChanged, this, [this] { draw(); });
    connect(FromDate, &QDateEdit::dateChanged, this, [this] { draw(); });
    connect(ToDate, &QDateEdit::dateChanged, this, [this] { draw(); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { print(); });
    connect(PdfButton, &QPushButton::clicked, this, [this] { saveAs(true); });
    connect(PngButton, &QPushButton::clicked, this, [this] { saveAs(false); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(900, 600);
}

void MoneyPicturesWindow::showModal(const QString &currentDesk)
{
    prepare(currentDesk);
    exec();
}

void MoneyPicturesWindow::prepare(const QString &currentDesk)
{
    desks_ = DesksOf(tables_);
    {
        const QSignalBlocker quiet(DeskChoice);
        DeskChoice->clear();
        for (const DeskCurrency &desk : std::as_const(desks_))
            DeskChoice->addItem(desk.desk.trimmed() + QStringLiteral("  ") + desk.name.trimmed());
        for (int i = 0; i < desks_.size(); ++i)
            if (desks_[i].desk.trimmed().compare(currentDesk.trimmed(), Qt::CaseInsensitive) == 0)
                DeskChoice->setCurrentIndex(i);
    }
    draw();
}

void MoneyPicturesWindow::draw()
{
    const bool period = PictureChoice->currentIndex() == Accounts;
    FromDate->setEnabled(period);
    ToDate->setEnabled(period);
    shown_.clear();
    const int index = DeskChoice->currentIndex();
    if (index < 0 || index >= desks_.size()) {
        ChartView->setChart(NewChart(QStringLiteral("Brak kas")));
        return;
    }
    const DeskCurrency &desk = desks_[index];
    QChart *chart = nullptr;
    switch (PictureChoice->currentIndex()) {
    case Turnover: chart = turnoverChart(desk.desk, desk.currency); break;
    case Accounts: chart = accountsChart(desk.desk, desk.currency); break;
    default: chart = cashStateChart(desk.desk, desk.currency); break;
    }
    QChart *old = ChartView->chart();
    ChartView->setChart(chart);
    delete old;
}

// One point per report, at its last day (the open report at today's date, when that lies in it).
QChart *MoneyPicturesWindow::cashStateChart(const QString &desk, const QString &currency)
{
    QChart *chart = NewChart(QStringLiteral("Stan kasy %1 w roku %2").arg(desk.trimmed()).arg(year_));
    auto *line = new QLineSeries;
    line->setName(QStringLiteral("Stan kasy na koniec raportu"));
    auto *points = new QScatterSeries;
    points->setMarkerSize(8);
    points->setName(line->name());
    QList<Money> values;
    QStringList labels;
    double low = 0, high = 0;
    for (const ReportBalance &report : BalancesByReport(tables_, desk)) {
        QDate day = QDate::fromString(report.closed ? report.lastDay : report.firstDay, QStringLiteral("yyyy.MM.dd"));
        const QDate today = QDate::fromString(state_.TodayText, QStringLiteral("yyyy.MM.dd"));
        if (!report.closed && today.isValid() && today > day)
            day = today;
        if (!day.isValid())
            continue;
        const int x = day.year() < year_ ? 0 : day.year() > year_ ? QDate(year_, 12, 31).dayOfYear() : day.dayOfYear();
        line->append(x, Units(report.closing));
        points->append(x, Units(report.closing));
        values.append(report.closing);
        labels.append(QStringLiteral("Raport %1 %2 (%3)").arg(report.number).arg(report.marking.trimmed(),
                                                                                  day.toString(QStringLiteral("yyyy.MM.dd"))));
        low = std::min(low, Units(report.closing));
        high = std::max(high, Units(report.closing));
    }
    shown_.append({line->name(), values});
    chart->addSeries(line);
    chart->addSeries(points);
    chart->legend()->markers(points).first()->setVisible(false);
    QCategoryAxis *months = MonthAxis(year_);
    QCategoryAxis *amounts = MoneyAxis(low, high, currency);
    chart->addAxis(months, Qt::AlignBottom);
    chart->addAxis(amounts, Qt::AlignLeft);
    for (QXYSeries *series : {static_cast<QXYSeries *>(line), static_cast<QXYSeries *>(points)}) {
        series->attachAxis(months);
        series->attachAxis(amounts);
    }
    connect(points, &QScatterSeries::hovered, this, [labels, values, currency, points](const QPointF &point, bool state) {
        if (!state)
            return;
        for (int i = 0; i < points->count(); ++i)
            if (points->at(i) == point)
                ShowFigure(labels.value(i) + QStringLiteral(" : ") + MoneyText(Units(values.value(i)), currency));
    });
    return chart;
}

QChart *MoneyPicturesWindow::turnoverChart(const QString &desk, const QString &currency)
{
    QChart *chart = NewChart(QStringLiteral("Wpłaty i wypłaty kasy %1 w roku %2").arg(desk.trimmed()).arg(year_));
    auto *receipts = new QBarSet(QStringLiteral("Wpłaty KP"));
    auto *payouts = new QBarSet(QStringLiteral("Wypłaty KW"));
    QList<Money> in, out;
    double high = 0;
    for (const MonthTurnover &month : TurnoverByMonth(tables_, desk, year_)) {
        receipts->append(Units(month.receipts));
        payouts->append(Units(month.payouts));
        in.append(month.receipts);
        out.append(month.payouts);
        high = std::max({high, Units(month.receipts), Units(month.payouts)});
    }
    shown_ = {{receipts->label(), in}, {payouts->label(), out}};
    auto *series = new QBarSeries;
    series->append(receipts);
    series->append(payouts);
    chart->addSeries(series);
    auto *months = new QBarCategoryAxis;
    months->append(MonthNames());
    QCategoryAxis *amounts = MoneyAxis(0, high, currency);
    chart->addAxis(months, Qt::AlignBottom);
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(months);
    series->attachAxis(amounts);
    const QStringList names = MonthNames();
    connect(series, &QBarSeries::hovered, this, [names, currency](bool state, int index, QBarSet *set) {
        if (state)
            ShowFigure(set->label() + u' ' + names.value(index) + QStringLiteral(" : ") + MoneyText(set->at(index), currency));
    });
    return chart;
}

QChart *MoneyPicturesWindow::accountsChart(const QString &desk, const QString &currency)
{
    const DateRange range{FromDate->date(), ToDate->date()};
    QChart *chart = NewChart(QStringLiteral("Obroty kont kasy %1 od %2 do %3")
                                 .arg(desk.trimmed(), range.from.toString(QStringLiteral("yyyy.MM.dd")),
                                      range.to.toString(QStringLiteral("yyyy.MM.dd"))));
    const QList<AccountTotal> totals = TotalsByAccount(tables_, desk, ListingPeriod(range));
    auto *ma = new QBarSet(QStringLiteral("Wpłaty (Ma)"));
    auto *wn = new QBarSet(QStringLiteral("Wypłaty (Wn)"));
    QStringList accounts;
    QList<Money> maValues, wnValues;
    double high = 0;
    // The largest at the top: a horizontal picture draws its first category at the bottom.
    for (auto total = totals.crbegin(); total != totals.crend(); ++total) {
        accounts.append(total->account.trimmed().isEmpty() ? QStringLiteral("(bez konta)") : total->account.trimmed());
        ma->append(Units(total->ma));
        wn->append(Units(total->wn));
        high = std::max({high, Units(total->ma), Units(total->wn)});
    }
    for (const AccountTotal &total : totals) {
        maValues.append(total.ma);
        wnValues.append(total.wn);
    }
    shown_ = {{ma->label(), maValues}, {wn->label(), wnValues}};
    auto *series = new QHorizontalBarSeries;
    series->append(ma);
    series->append(wn);
    chart->addSeries(series);
    auto *axis = new QBarCategoryAxis;
    axis->append(accounts);
    QCategoryAxis *amounts = MoneyAxis(0, high, currency);
    chart->addAxis(axis, Qt::AlignLeft);
    chart->addAxis(amounts, Qt::AlignBottom);
    series->attachAxis(axis);
    series->attachAxis(amounts);
    connect(series, &QHorizontalBarSeries::hovered, this, [accounts, currency](bool state, int index, QBarSet *set) {
        if (state)
            ShowFigure(accounts.value(index) + u' ' + set->label() + QStringLiteral(" : ") + MoneyText(set->at(index), currency));
    });
    return chart;
}

bool MoneyPicturesWindow::savePdf(const QString &path)
{
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setTitle(windowTitle());
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    ChartView->render(&painter);
    return painter.end();
}

bool MoneyPicturesWindow::savePng(const QString &path)
{
    return ChartView->grab().save(path, "PNG");
}

void MoneyPicturesWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    ChartView->render(&painter);
}

void MoneyPicturesWindow::saveAs(bool pdf)
{
    QFileDialog dialog(this, pdf ? QStringLiteral("Zapisz PDF") : QStringLiteral("Zapisz PNG"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("PNG (*.png)"));
    dialog.setDefaultSuffix(pdf ? QStringLiteral("pdf") : QStringLiteral("png"));
    ShowFileDatesInPolish(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!(pdf ? savePdf(path) : savePng(path)))
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Nie można zapisać pliku %1").arg(path));
}
