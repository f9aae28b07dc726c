#include "print/documents_view_switch.h"

#include "ledger/document_filters.h"
#include "ledger/ledger_queries.h"
#include "store/table_schemas.h"

namespace {

const QString kDocumentsView = QStringLiteral("TNAG");

// The fields that tie the documents view to its report (SYMBOL;NUMER).
QStringList ReportLinkFields()
{
    const TableObjectEntry *entry = FindTableObject(kDocumentsView);
    return entry ? entry->linkFields : QStringList{QStringLiteral("SYMBOL"), QStringLiteral("NUMER")};
}

} // namespace

DocumentsViewSwitch::DocumentsViewSwitch(Table &documents, DocumentFilters &filters)
    : documents_(documents)
    , filters_(filters)
    , master_(documents.masterSource())
    , indexName_(documents.indexName())
    , indexFieldNames_(documents.indexFieldNames())
    , filtered_(documents.filtered())
    , current_(documents.bookmark())
{
    documents_.disableControls();
}

DocumentsViewSwitch::~DocumentsViewSwitch()
{
    restore();
}

void DocumentsViewSwitch::showWholeYear(const QList<FilterCondition> &conditions)
{
    documents_.clearMasterSource();
    documents_.cancelRange();
    documents_.setIndexName(QString());
    showOnly(conditions);
}

void DocumentsViewSwitch::showCurrentDesk(const QList<FilterCondition> &conditions)
{
    const QStringList desk{QStringLiteral("SYMBOL")};
    if (master_)
        documents_.setMasterSource(master_, desk, desk);
    documents_.cancelRange();
    documents_.setIndexName(QStringLiteral("Pinx"));
    showOnly(conditions);
}

// The record filter's own conditions are replaced while the listing runs; restore() puts them
// back.
void DocumentsViewSwitch::showOnly(const QList<FilterCondition> &conditions)
{
    documents_.setFiltered(false);
    documents_.setFilterConditions(conditions);
    documents_.setFiltered(!conditions.isEmpty());
}

// Every step is tried on its own: a step that fails must not keep the others from giving the
// view back.
void DocumentsViewSwitch::restore()
{
    Guarded([&] {
        if (!indexFieldNames_.isEmpty())
            documents_.setIndexFieldNames(indexFieldNames_);
        else
            documents_.setIndexName(indexName_);
    });
    Guarded([&] {
        if (master_) {
            const QStringList link = ReportLinkFields();
            documents_.setMasterSource(master_, link, link);
        } else {
            documents_.clearMasterSource();
        }
    });
    Guarded([&] {
        documents_.setFiltered(false);
        filters_.applyHeaderFilter();
        documents_.setFiltered(filtered_);
    });
    Guarded([&] {
        if (current_.isValid() && documents_.bookmark() != current_)
            documents_.gotoBookmark(current_);
    });
    Guarded([&] { documents_.enableControls(); });
}
