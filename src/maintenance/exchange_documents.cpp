#include "maintenance/exchange_documents.h"

#include "base/global_state.h"
#include "ledger/date_input.h"
#include "ledger/document_kinds.h"
#include "maintenance/exchange_file.h"
#include "store/data_tree.h"
#include "store/field_value.h"
#include "store/open_table_guarded.h"
#include "store/row.h"
#include "store/helper_indexes.h"
#include "store/table.h"
#include "store/table_helper_context.h"

#include <QHash>
#include <QScopeGuard>
#include <algorithm>
#include <functional>

namespace {

constexpr int kListedBreaches = 15;
constexpr int kReadPage = 2000;
const QString kDocumentKeyFields[] = {QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("ROK"),
                                      QStringLiteral("RD"), QStringLiteral("NRD")};

enum class ReportState : quint8 { Open, Missing, Closed };

struct DocumentSums {
    bool seen = false; // a row of the document is in the table
    bool header = false;
    ReportState report = ReportState::Open;
    Money headerAmount;
    Money linesSum;

    bool breaksRules() const
    {
        return seen && (report != ReportState::Open || !header || headerAmount != linesSum);
    }
};

quint64 KeyHash(const QString &key)
{
    return quint64(qHash(key, size_t(0x51ed270b27f4e5a3ULL)));
}

// The document's report in a key (its desk and report number, the key's first two parts).
QString ReportOfKey(const QString &key)
{
    return key.section(QLatin1Char('\t'), 0, 1);
}

// Hands each row of the table (only the fields read) to visit, saying whether it begins another
// document than the row before: the rows of a document mostly lie side by side, and its key is
// looked at once for them.
void VisitDocumentRows(Table &documents, const QList<int> &read, const QList<int> &keyPositions,
                       const std::function<void(const Row &row, bool otherDocument)> &visit)
{
    Bookmark after;
    QVariantList lastKey(keyPositions.size());
    bool lastKnown = false;
    for (;;) {
        const QList<Row> page = documents.peekRows(after, kReadPage, read);
        for (const Row &row : page) {
            bool same = lastKnown;
            for (int i = 0; i < keyPositions.size() && same; ++i)
                same = lastKey[i] == row.values.at(keyPositions[i]);
            if (!same) {
                for (int i = 0; i < keyPositions.size(); ++i)
                    lastKey[i] = row.values.at(keyPositions[i]);
                lastKnown = true;
            }
            visit(row, !same);
        }
        if (page.size() < kReadPage)
            break;
        after = Bookmark{page.last().rowId};
    }
}

} // namespace

ExchangeSource DocumentExchangeSource(Table &documents)
{
    ExchangeSource source{documents, QString(), {QStringLiteral("DATA")}};
    // A document (and each of its lines) is its desk, report, kind, year, number and position.
    source.identityFields = {QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("RD"),
                             QStringLiteral("ROK"),    QStringLiteral("NRD"),   QStringLiteral("POZ")};
    return source;
}

ExchangeSource ContractorExchangeSource(Table &contractors)
{
    return ExchangeSource{contractors, QStringLiteral("TKontrah"), {}};
}

QString DocumentTablePath(const GlobalState &state)
{
    return YearTablePath(state.DataRoot, state.CurrentYear, QStringLiteral("KASA\\NAGKASA"));
}

QString ReportTablePath(const GlobalState &state)
{
    return YearTablePath(state.DataRoot, state.CurrentYear, QStringLiteral("KASA\\RKASA"));
}

bool OpenDocumentTable(Table &documents, TableHelperContext &helpers)
{
    documents.close();
    documents.clearMasterSource();
    documents.setFiltered(false);
    documents.clearFilterConditions();
    documents.setIndexName(QString());
    return OpenTableGuarded(documents, DocumentTablePath(helpers.state), QString(), helpers);
}

DocumentRuleCheck::DocumentRuleCheck(const TableDefinition &definition) : definition_(definition)
{
    for (const QString &field : kDocumentKeyFields)
        keyPositions_.append(definition.fieldIndex(field));
    if (keyPositions_.contains(-1))
        keyPositions_.clear();
}

// The document's key as text: its key fields as the program shows them, between tabs.
QString DocumentRuleCheck::keyOf(const QVariantList &row) const
{
    QString key;
    for (int i = 0; i < keyPositions_.size(); ++i) {
        if (i > 0)
            key += QLatin1Char('\t');
        const QVariant &value = row.at(keyPositions_[i]);
        if (value.typeId() == QMetaType::QString)
            key += value.toString();
        else if (!IsEmptyStored(value))
            key += QString::number(value.toLongLong());
    }
    return key;
}

void DocumentRuleCheck::note(const QVariantList &row)
{
    if (keyPositions_.isEmpty())
        return;
    // A document's rows mostly come one after another.
    bool same = !lastNoted_.isEmpty();
    for (int i = 0; i < keyPositions_.size() && same; ++i)
        same = lastNoted_[i] == row.at(keyPositions_[i]);
    if (same)
        return;
    lastNoted_.clear();
    for (int position : keyPositions_)
        lastNoted_.append(row.at(position));
    noted_.push_back(KeyHash(keyOf(row)));
    // A document noted again (its rows apart in the file) is kept once.
    if (noted_.size() >= 2 * uniqueUpTo_ + 4096)
        keepNotedUnique();
}

void DocumentRuleCheck::keepNotedUnique()
{
    std::sort(noted_.begin(), noted_.end());
    noted_.erase(std::unique(noted_.begin(), noted_.end()), noted_.end());
    uniqueUpTo_ = noted_.size();
}

RuleBreaches DocumentRuleCheck::breaches(Table &documents, Session &session, const QString &reportTablePath)
{
    keepNotedUnique();
    if (noted_.empty())
        return {};
    // The year's reports: open or closed.
    QHash<QString, bool> reportClosed;
    {
        Table reports(session);
        reports.setTableName(reportTablePath);
        if (reports.exists()) {
            reports.open();
            const auto close = qScopeGuard([&] { reports.close(); });
            for (reports.first(); !reports.eof(); reports.next())
                reportClosed.insert(reports.asString(QStringLiteral("SYMBOL")) + QLatin1Char('\t')
                                        + reports.asString(QStringLiteral("NUMER")),
                                    reports.asBoolean(QStringLiteral("ZAMKNIETY")));
        }
    }
    const TableDefinition &definition = definition_;
    const int header = definition.fieldIndex(QStringLiteral("GLOWKA"));
    const int amount = definition.fieldIndex(QStringLiteral("KWOTA"));
    const int lineAmount = definition.fieldIndex(QStringLiteral("KWOTAP"));
    const auto money = [&](const Row &row, int field) {
        return field < 0 ? Money() : StoredAsMoney(definition.fields[field], row.values.value(field));
    };
    // Only the fields the check looks at are read.
    QList<int> read = keyPositions_;
    for (int field : {header, amount, lineAmount})
        if (field >= 0)
            read.append(field);

    std::vector<DocumentSums> sums(noted_.size());
    const auto sumsOf = [&](const QString &key) -> DocumentSums * {
        const auto found = std::lower_bound(noted_.cbegin(), noted_.cend(), KeyHash(key));
        return found != noted_.cend() && *found == KeyHash(key) ? &sums[size_t(found - noted_.cbegin())] : nullptr;
    };
    DocumentSums *last = nullptr;
    // The first keys in their order, of every document the check looks at: the breaches the
    // summary names are mostly among them.
    constexpr qsizetype kFirstKeys = 4 * kListedBreaches;
    QStringList firstKeys;
    bool moreKeys = false;
    VisitDocumentRows(documents, read, keyPositions_, [&](const Row &row, bool otherDocument) {
        if (otherDocument) {
            const QString key = keyOf(row.values);
            last = sumsOf(key);
            if (last && (firstKeys.size() < kFirstKeys || key < firstKeys.last())) {
                if (!firstKeys.contains(key)) {
                    firstKeys.insert(std::lower_bound(firstKeys.begin(), firstKeys.end(), key), key);
                    if (firstKeys.size() > kFirstKeys) {
                        firstKeys.removeLast();
                        moreKeys = true;
                    }
                }
            } else if (last && key != firstKeys.last()) {
                moreKeys = true;
            }
            if (last && !last->seen) {
                const auto report = reportClosed.constFind(ReportOfKey(key));
                last->report = report == reportClosed.cend() ? ReportState::Missing
                               : *report                     ? ReportState::Closed
                                                             : ReportState::Open;
            }
        }
        if (!last)
            return;
        DocumentSums &sum = *last;
        sum.seen = true;
        const bool isHeader = header >= 0 && StoredAsBoolean(definition.fields[header], row.values.value(header));
        const QString kind = row.values.at(keyPositions_[3]).toString();
        if (isHeader) {
            sum.header = true;
            sum.headerAmount = money(row, kind == DocumentKind::RZ ? lineAmount : amount);
        }
        if (!isHeader || HeaderIsFirstLine(kind))
            sum.linesSum += money(row, lineAmount);
    });

    RuleBreaches result;
    result.count = int(std::count_if(sums.cbegin(), sums.cend(), [](const DocumentSums &sum) { return sum.breaksRules(); }));
    if (result.count == 0)
        return result;
    // The first documents in the order of their keys are named. Those among the first keys are
    // the first of all when enough of them break the rules; otherwise the keys are read once more.
    QStringList first;
    const auto takeFirst = [&](const QString &key) {
        const DocumentSums *sum = sumsOf(key);
        if (!sum || !sum->breaksRules() || first.contains(key))
            return;
        first.insert(std::lower_bound(first.begin(), first.end(), key), key);
        if (first.size() > kListedBreaches)
            first.removeLast();
    };
    for (const QString &key : std::as_const(firstKeys))
        takeFirst(key);
    if (moreKeys && first.size() < std::min<qsizetype>(kListedBreaches, result.count))
        VisitDocumentRows(documents, keyPositions_, keyPositions_, [&](const Row &row, bool otherDocument) {
            if (otherDocument)
                takeFirst(keyOf(row.values));
        });
    for (const QString &key : std::as_const(first)) {
        const QStringList parts = key.split(QLatin1Char('\t'));
        const DocumentSums &sum = *sumsOf(key);
        QStringList problems;
        if (sum.report == ReportState::Missing)
            problems.append(QStringLiteral("brak raportu"));
        else if (sum.report == ReportState::Closed)
            problems.append(QStringLiteral("raport zamknięty"));
        if (!sum.header)
            problems.append(QStringLiteral("brak nagłówka"));
        else if (sum.headerAmount != sum.linesSum)
            problems.append(QStringLiteral("kwota %1 różni się od sumy pozycji %2")
                                .arg(sum.headerAmount.toString(), sum.linesSum.toString()));
        result.listed.append(QStringLiteral("%1 raport %2: %3 %4/%5 - %6")
                                 .arg(parts[0], parts[1], parts[3], parts[4], parts[2], problems.join(QStringLiteral(", "))));
    }
    return result;
}

QString ImportSummary(const ImportResult &result, const RuleBreaches &breaches)
{
    QString text = QStringLiteral("Zaimportowano wierszy: %1 (nowych: %2, zmienionych: %3).")
                       .arg(result.rows).arg(result.inserted).arg(result.updated);
    if (result.markFailed)
        text += QStringLiteral("\rNie można zmienić nazwy pliku na %1.").arg(result.markedPath);
    if (breaches.count > 0) {
        text += QStringLiteral("\r\rDokumenty niezgodne z zasadami kasy (zaimportowane):");
        for (int i = 0; i < breaches.listed.size() && i < kListedBreaches; ++i)
            text += QLatin1Char('\r') + breaches.listed[i];
        if (breaches.count > kListedBreaches)
            text += QStringLiteral("\r... i dalszych: %1.").arg(breaches.count - kListedBreaches);
    }
    return text;
}

QString ExportSummary(const ExportResult &result, const QString &path)
{
    return QStringLiteral("Wyeksportowano wierszy: %1.\rPlik : %2").arg(result.rows).arg(path);
}

ExportResult ExportFile(const ExchangeSource &source, const QString &path, Progress &progress)
{
    return ExportTable(source, FieldMap::forShowing(source, ExchangeMode::Export), path, progress);
}

ImportResult ImportFile(const ExchangeSource &source, const QString &path, Progress &progress,
                        const std::function<void(const QVariantList &row)> &afterRow)
{
    FieldMap map = FieldMap::forShowing(source, ExchangeMode::Import);
    map.matchHeader(source, ReadExchangeHeaderOf(path));
    return ImportTable(source, map, path, progress, afterRow);
}

namespace {

// The working table of the documents, open while the command runs.
class DocumentTable {
public:
    explicit DocumentTable(TableHelperContext &helpers) : table(helpers.session, QStringLiteral("TIMP"))
    {
        if (!OpenDocumentTable(table, helpers))
            throw ExchangeError(QStringLiteral("Nie można otworzyć tabeli dokumentów : %1.DB")
                                    .arg(DocumentTablePath(helpers.state)));
    }
    ~DocumentTable() { table.close(); }
    Table table;
};

} // namespace

ExportResult ExportDocuments(TableHelperContext &helpers, const QString &path, Progress &progress)
{
    DocumentTable documents(helpers);
    return ExportFile(DocumentExchangeSource(documents.table), path, progress);
}

DocumentImportResult ImportDocuments(TableHelperContext &helpers, Table &documents, const FieldMap &map,
                                     const QString &path, Progress &progress)
{
    DocumentRuleCheck check(documents.definition());
    DocumentImportResult result;
    ExchangeSource source = DocumentExchangeSource(documents);
    source.latestDateYear = LatestBookYear(helpers.state);
    result.import = ImportTable(source, map, path, progress,
                                [&check](const QVariantList &row) { check.note(row); });
    result.breaches = check.breaches(documents, helpers.session, ReportTablePath(helpers.state));
    // Rows written in bulk: the engine's helper indexes are made now, not at the next start.
    BuildHelperIndexesOf(helpers.session, {documents.filePath()}, progress);
    return result;
}

DocumentImportResult ImportDocuments(TableHelperContext &helpers, const QString &path, Progress &progress)
{
    DocumentTable documents(helpers);
    const ExchangeSource source = DocumentExchangeSource(documents.table);
    FieldMap map = FieldMap::forShowing(source, ExchangeMode::Import);
    map.matchHeader(source, ReadExchangeHeaderOf(path));
    return ImportDocuments(helpers, documents.table, map, path, progress);
}
