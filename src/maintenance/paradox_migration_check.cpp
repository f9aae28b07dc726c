#include "maintenance/paradox_migration_check.h"

#include "base/money.h"
#include "ledger/document_kinds.h"
#include "store/field_value.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <limits>

namespace {

const QString kReportTable = QStringLiteral("KASA/RKASA.DB");
const QString kDocumentTable = QStringLiteral("KASA/NAGKASA.DB");
const QStringList kReportFields{QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("BOWARTOSC"),
                                QStringLiteral("BZWARTOSC"), QStringLiteral("ZAMKNIETY")};
const QStringList kDocumentFields{QStringLiteral("GLOWKA"), QStringLiteral("RD"), QStringLiteral("OKOD"),
                                  QStringLiteral("KWOTA"), QStringLiteral("SYMBOL"), QStringLiteral("NUMER")};

// A money value as the old file gives it (a double, rounded to the ten-thousandth through its
// decimal text) or as the program reads it.
Money AsMoney(const QVariant &value)
{
    if (!value.isValid())
        return {};
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>();
    if (value.typeId() == QMetaType::Double)
        return Money::fromDouble(value.toDouble());
    return Money::fromUnits(value.toLongLong() * Money::kUnitsPerWhole);
}

struct ReportFigures {
    Money opening;
    Money closing;
    bool closed = false;
    Money receipts;
    Money payouts;
    Money cashStateTurnover; // the documents as the cash state counts them
    int documents = 0;
};

struct KindFigures {
    int documents = 0;
    Money total;
};

struct YearFigures {
    QMap<QString, QMap<int, ReportFigures>> reports; // desk -> report number -> figures
    QMap<QString, KindFigures> kinds;
};

QString Text(Money amount)
{
    return amount == amount.roundedTo2() ? amount.toGroupedString() : ExactMoneyText(amount);
}

void AddYearLines(QList<ComparedFigure> &lines, const QString &yearName, const YearFigures &year)
{
    const auto add = [&](const QString &label, const QString &value, bool detail = false) {
        lines.append({label, value, QString(), detail});
    };
    for (auto desk = year.reports.cbegin(); desk != year.reports.cend(); ++desk) {
        const QString prefix = QStringLiteral("Rok %1, kasa %2").arg(yearName, desk.key());
        Money opening, closing, receipts, payouts, state;
        for (auto report = desk->cbegin(); report != desk->cend(); ++report) {
            const ReportFigures &r = report.value();
            opening += r.opening;
            closing += r.closing;
            receipts += r.receipts;
            payouts += r.payouts;
            const QString label = QStringLiteral("%1, raport %2: ").arg(prefix).arg(report.key());
            add(label + QStringLiteral("BO"), Text(r.opening), true);
            add(label + QStringLiteral("BZ"), Text(r.closing), true);
            add(label + QStringLiteral("wpłaty"), Text(r.receipts), true);
            add(label + QStringLiteral("wypłaty"), Text(r.payouts), true);
            add(label + QStringLiteral("dokumenty"), QString::number(r.documents), true);
        }
        if (!desk->isEmpty()) {
            const ReportFigures &last = desk->last();
            state = last.closed ? last.closing : last.opening + last.cashStateTurnover;
        }
        add(prefix + QStringLiteral(": raporty"), QString::number(desk->size()));
        add(prefix + QStringLiteral(": suma BO raportów"), Text(opening));
        add(prefix + QStringLiteral(": suma BZ raportów"), Text(closing));
        add(prefix + QStringLiteral(": wpłaty"), Text(receipts));
        add(prefix + QStringLiteral(": wypłaty"), Text(payouts));
        add(prefix + QStringLiteral(": stan kasy"), Text(state));
    }
    for (auto kind = year.kinds.cbegin(); kind != year.kinds.cend(); ++kind) {
        const QString prefix = QStringLiteral("Rok %1, dokumenty %2").arg(yearName, kind.key());
        add(prefix + QStringLiteral(": liczba"), QString::number(kind->documents));
        add(prefix + QStringLiteral(": kwota"), Text(kind->total));
    }
}

// The new table's values of the fields, row by row, as the program reads them.
void ReadNewTable(Session &session, const QString &path, const QStringList &fields,
                  const std::function<void(const QList<QVariant> &)> &visit)
{
    if (!QFileInfo::exists(path))
        return;
    Table table(session);
    table.setTableName(path);
    table.open();
    const TableDefinition definition = table.definition();
    QList<int> at; // per field asked, its position, -1 when the table lacks it
    QList<int> positions;
    for (const QString &field : fields) {
        at << definition.fieldIndex(field);
        if (at.last() >= 0)
            positions << at.last();
    }
    QList<QVariant> values(fields.size());
    table.visitRows(Bookmark(), std::numeric_limits<int>::max(), positions, [&](const StoredValues &row) {
        for (int i = 0; i < fields.size(); ++i)
            values[i] = at[i] < 0 ? QVariant() : ProgramValue(definition.fields[at[i]], row.value(at[i]));
        visit(values);
    });
}

} // namespace

struct LedgerFigures::Years {
    QMap<QString, YearFigures> years;
};

LedgerFigures::LedgerFigures() : years_(std::make_unique<Years>()) {}
LedgerFigures::~LedgerFigures() = default;
LedgerFigures::LedgerFigures(LedgerFigures &&) noexcept = default;
LedgerFigures &LedgerFigures::operator=(LedgerFigures &&) noexcept = default;

LedgerFigures::Source LedgerFigures::sourceOf(const QString &relativeToYear)
{
    const QString path = QDir::fromNativeSeparators(relativeToYear);
    if (path.compare(kReportTable, Qt::CaseInsensitive) == 0)
        return Source::Reports;
    if (path.compare(kDocumentTable, Qt::CaseInsensitive) == 0)
        return Source::Documents;
    return Source::None;
}

const QStringList &LedgerFigures::fieldsOf(Source source)
{
    static const QStringList none;
    return source == Source::Reports ? kReportFields : source == Source::Documents ? kDocumentFields : none;
}

void LedgerFigures::add(const QString &yearName, Source source, const QList<QVariant> &field)
{
    YearFigures &year = years_->years[yearName];
    if (source == Source::Reports) {
        ReportFigures &report = year.reports[field[0].toString()][field[1].toInt()];
        report.opening = AsMoney(field[2]);
        report.closing = AsMoney(field[3]);
        report.closed = field[4].toBool();
        return;
    }
    if (source != Source::Documents || !field[0].toBool())
        return;
    const QString kind = field[1].toString();
    const QString sign = field[2].toString();
    const Money amount = AsMoney(field[3]);
    KindFigures &byKind = year.kinds[kind];
    ++byKind.documents;
    byKind.total += amount;
    ReportFigures &report = year.reports[field[4].toString()][field[5].toInt()];
    ++report.documents;
    if (IsReceipt(kind, sign))
        report.receipts += amount;
    else
        report.payouts += amount;
    report.cashStateTurnover += SignedAmount(kind, sign, amount, BalanceKind::CashState);
}

QList<ComparedFigure> LedgerFigures::lines() const
{
    QList<ComparedFigure> lines;
    for (auto year = years_->years.cbegin(); year != years_->years.cend(); ++year)
        AddYearLines(lines, year.key(), year.value());
    return lines;
}

LedgerFigures ReadLedgerFigures(Session &session, const QString &folder, const QStringList &years)
{
    LedgerFigures figures;
    for (const QString &year : years) {
        for (const LedgerFigures::Source source : {LedgerFigures::Source::Reports, LedgerFigures::Source::Documents}) {
            const QString relative = source == LedgerFigures::Source::Reports ? kReportTable : kDocumentTable;
            ReadNewTable(session, QDir(folder).filePath(year + u'/' + relative), LedgerFigures::fieldsOf(source),
                         [&](const QList<QVariant> &values) { figures.add(year, source, values); });
        }
    }
    return figures;
}

QList<ComparedFigure> CompareLedgerFigures(const LedgerFigures &old, const LedgerFigures &converted)
{
    QList<ComparedFigure> compared = old.lines();
    QMap<QString, qsizetype> order;
    for (qsizetype i = 0; i < compared.size(); ++i)
        order.insert(compared[i].label, i);
    for (const ComparedFigure &figure : converted.lines()) {
        if (!order.contains(figure.label)) {
            order.insert(figure.label, compared.size());
            compared.append({figure.label, QString(), QString(), figure.detail});
        }
        compared[order.value(figure.label)].newValue = figure.oldValue;
    }
    return compared;
}
