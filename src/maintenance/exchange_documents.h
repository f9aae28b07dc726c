#pragma once

#include "maintenance/export_table.h"
#include "maintenance/import_table.h"

#include <QString>
#include <QStringList>
#include <vector>

class Progress;
class Session;
class Table;
struct GlobalState;
struct TableHelperContext;

// The exchange of the working year's cash documents (NAGKASA, every header and line row, its
// columns called by the field names, DATA a date) and of the contractor catalogue (its columns
// called "TKontrah" + the field name, NR the key).
ExchangeSource DocumentExchangeSource(Table &documents);
ExchangeSource ContractorExchangeSource(Table &contractors);

// The document table of the working year without extension: DataRoot + year + "KASA" + "NAGKASA".
QString DocumentTablePath(const GlobalState &state);
QString ReportTablePath(const GlobalState &state);

// Opens the working table object on the year's document table, freshly (no filter, no range,
// the primary order), silently; false when it cannot be opened.
bool OpenDocumentTable(Table &documents, TableHelperContext &helpers);

// The documents that break the ledger's rules: how many, and the first of them in the order of
// their keys (at most as many as a summary lists).
struct RuleBreaches {
    QStringList listed;
    int count = 0;
};

// Documents an import has just written that break the ledger's rules: a header whose amount is
// not the sum of its lines, lines without a header, a document in a report that does not exist
// or is closed. One text per document.
//
// A document is remembered by a hash of its key, so that a file of millions of lines is checked
// in a few megabytes.
class DocumentRuleCheck {
public:
    // Over a document table of this structure.
    explicit DocumentRuleCheck(const TableDefinition &definition);
    // Remembers the document of a row (stored values in the table's order; the key fields are
    // enough).
    void note(const QVariantList &row);
    // Reads the noted documents and the year's reports.
    RuleBreaches breaches(Table &documents, Session &session, const QString &reportTablePath);

private:
    QString keyOf(const QVariantList &row) const;
    void keepNotedUnique();

    TableDefinition definition_;
    QList<int> keyPositions_; // empty when the table lacks a key field
    std::vector<quint64> noted_; // the hashes of the documents' keys
    size_t uniqueUpTo_ = 0;      // noted_ is sorted and unique up to here
    QVariantList lastNoted_;
};

struct DocumentImportResult {
    ImportResult import;
    RuleBreaches breaches;
};

// The text shown when an import ends.
QString ImportSummary(const ImportResult &result, const RuleBreaches &breaches = {});
// The text shown when an export ends.
QString ExportSummary(const ExportResult &result, const QString &path);

// Without the window (the program's command line): the whole table under every column name.
ExportResult ExportFile(const ExchangeSource &source, const QString &path, Progress &progress);
// Reads the header, matches the columns by name (then by position) and imports; ExchangeError
// when a key column is missing.
ImportResult ImportFile(const ExchangeSource &source, const QString &path, Progress &progress,
                        const std::function<void(const QVariantList &row)> &afterRow = {});

// The year's documents on a fresh table object, opened and closed here.
ExportResult ExportDocuments(TableHelperContext &helpers, const QString &path, Progress &progress);
DocumentImportResult ImportDocuments(TableHelperContext &helpers, const QString &path, Progress &progress);
// Imports through a map already matched (the window's).
DocumentImportResult ImportDocuments(TableHelperContext &helpers, Table &documents, const FieldMap &map,
                                     const QString &path, Progress &progress);
