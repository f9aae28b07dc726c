#pragma once

#include "store/table.h"

#include <QList>
#include <QString>

class DocumentFilters;

// Lends the documents view (TNAG) to a listing: on construction its order, master link, filter
// and current row are remembered and its display is suspended; the listing then shows it the
// rows it wants; when the switch goes (also when the listing failed) the view gets back its
// order, its link to the current report, its record filter and its current row, and the windows
// follow it again.
class DocumentsViewSwitch {
public:
    DocumentsViewSwitch(Table &documents, DocumentFilters &filters);
    ~DocumentsViewSwitch();
    DocumentsViewSwitch(const DocumentsViewSwitch &) = delete;
    DocumentsViewSwitch &operator=(const DocumentsViewSwitch &) = delete;

    // Every row of the year's document table: no link, no range, the primary order, the record
    // filter off; then only the rows that meet the conditions (none: every row).
    void showWholeYear(const QList<FilterCondition> &conditions = {});
    // Every row of the current desk's reports (the link on SYMBOL alone), order Pinx, the record
    // filter off; then only the rows that meet the conditions.
    void showCurrentDesk(const QList<FilterCondition> &conditions = {});

private:
    void showOnly(const QList<FilterCondition> &conditions);
    void restore();

    Table &documents_;
    DocumentFilters &filters_;
    Table *master_;
    QString indexName_;
    QString indexFieldNames_;
    bool filtered_;
    Bookmark current_;
};
