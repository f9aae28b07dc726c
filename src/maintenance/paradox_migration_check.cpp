#include "maintenance/paradox_migration_check.h"

#include "base/money.h"
#include "ledger/document_kinds.h"
#include "maintenance/paradox_installation.h"
#include "maintenance/paradox_table_file.h"
#include "store/field_value.h"
#include "store/table.h"

#include <QDir>
#include <QMap>

#include <functional>
#include <limits>

namespace {

// The values of the fields a figure needs, in the order they were asked for; invalid where the
// table has no such field.
using RowVisitor = std::function<void(const QList<QVariant> &)>;
using TableReader = std::function<void(const QString &relativeToYear, const QStringList &fields, const RowVisitor &)>;

const QStringList kReportFields{QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("BOWARTOSC"),
                                QStringLiteral("BZWARTOSC"), QStringLiteral("ZAMKNIETY")};
const QStringList kDocumentFields{QStringLiteral("GLOWKA"), QStringLiteral("RD"), QStringLiteral("OKOD"),
                                  QStringLiteral("KWOTA"), QStringLiteral("SYMBOL"), QStringLiteral("NUMER")};

Money AsMoney(const QVariant &value)
{
    if (!value.isValid())
        return {};
    if (value.typeId() == QMetaType::fromType<Money>().id())
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

YearFigures Compute(const TableReader &read)
{
    YearFigures year;
    read(QStringLiteral("KASA/RKASA.DB"), kReportFields, [&](const QList<QVariant> &field) {
        ReportFigures &report = year.reports[field[0].toString()][field[1].toInt()];
        report.opening = AsMoney(field[2]);
        report.closing = AsMoney(field[3]);
        report.closed = field[4].toBool();
    });
    read(QStringLiteral("KASA/NAGKASA.DB"), kDocumentFields, [&](const QList<QVariant> &field) {
        if (!field[0].toBool())
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
    });
    return year;
}

QString Text(Money amount)
{
    return amount == amount.roundedTo2() ? amount.toGroupedString() : ExactMoneyText(amount);
}

// The figures of one year as labelled lines, in a fixed order.
QList<std::pair<ComparedFigure, QString>> Lines(const QString &yearName, const YearFigures &year)
{
    QList<std::pair<ComparedFigure, QString>> lines; // the figure (label, detail) and its value
    const auto add = [&](const QString &label, const QString &value, bool detail = false) {
        lines.append({ComparedFigure{label, QString(), QString(), detail}, value});
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
    return lines;
}

// Reading the old year's table through pxlib.
void ReadOldTable(const QList<OldInstallationTable> &tables, const QString &year, const QString &relativeToYear,
                  const QStringList &fields, const RowVisitor &visit)
{
    const QString wanted = year + u'/' + relativeToYear;
    for (const OldInstallationTable &table : tables) {
        if (QDir::fromNativeSeparators(table.relativePath).compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        ParadoxTableFile file(table.oldPath);
        QList<int> present; // positions of the fields the file has
        QList<int> at;      // per field asked, its place among them, -1 when the file lacks it
        for (const QString &field : fields) {
            const int position = file.fieldIndex(field);
            at << (position < 0 ? -1 : int(present.size()));
            if (position >= 0)
                present << position;
        }
        QList<QVariant> values(fields.size());
        for (int row = 0; row < file.rowCount(); ++row) {
            const QList<QVariant> read = file.row(row, present);
            for (int i = 0; i < fields.size(); ++i)
                values[i] = at[i] < 0 ? QVariant() : read[at[i]];
            visit(values);
        }
    }
}

// Reading the new table through the engine.
void ReadNewTable(Session &session, const QString &path, const QStringList &fields, const RowVisitor &visit)
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

QList<ComparedFigure> CompareLedgerFigures(const QList<OldInstallationTable> &tables, Session &session,
                                           const QString &newFolder)
{
    QStringList years;
    for (const OldInstallationTable &table : tables)
        if (!table.year.isEmpty() && !years.contains(table.year))
            years << table.year;
    QList<ComparedFigure> compared;
    for (const QString &year : std::as_const(years)) {
        const YearFigures old = Compute([&](const QString &relative, const QStringList &fields, const RowVisitor &visit) {
            ReadOldTable(tables, year, relative, fields, visit);
        });
        const YearFigures converted = Compute([&](const QString &relative, const QStringList &fields, const RowVisitor &visit) {
            ReadNewTable(session, QDir(newFolder).filePath(year + u'/' + relative), fields, visit);
        });
        const auto oldLines = Lines(year, old);
        const auto newLines = Lines(year, converted);
        // Labels on one side only still show: with an empty value on the other.
        QMap<QString, int> order;
        QList<ComparedFigure> yearLines;
        for (const auto &[figure, value] : oldLines) {
            order.insert(figure.label, int(yearLines.size()));
            yearLines.append({figure.label, value, QString(), figure.detail});
        }
        for (const auto &[figure, value] : newLines) {
            if (!order.contains(figure.label)) {
                order.insert(figure.label, int(yearLines.size()));
                yearLines.append({figure.label, QString(), QString(), figure.detail});
            }
            yearLines[order.value(figure.label)].newValue = value;
        }
        compared << yearLines;
    }
    return compared;
}
