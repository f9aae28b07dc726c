#pragma once

#include <QString>

struct LedgerContext;

// Why a document takes no further line.
QString LineLimitMessage(int limit);
class DocumentFilters;
class DocumentTotals;

// The rules of the line view TPOZ, whatever window edits it: a document has at most 7 lines
// (KP, KW, KPD, KWD, the header row counted) or 18 expenses (RZ); the header row cannot be
// deleted through the lines; a description from the dictionary brings its default amount; the
// document's amount follows its lines.
class DocumentLineRules {
public:
    DocumentLineRules(LedgerContext &context, DocumentFilters &filters, DocumentTotals &totals);
    ~DocumentLineRules();
    DocumentLineRules(const DocumentLineRules &) = delete;
    DocumentLineRules &operator=(const DocumentLineRules &) = delete;

private:
    void beforeInsert();
    int linesAsTheEditorCounts(const QString &kind);
    void beforeDelete();
    void beforeWrite();
    void fillDefaultAmount();

    LedgerContext &context_;
    DocumentFilters &filters_;
    DocumentTotals &totals_;
    bool fillingDefaultAmount_ = false;
};
