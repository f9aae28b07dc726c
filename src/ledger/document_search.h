#pragma once

#include <QString>

class Table;

// Ordering and searching the document list (TNAG), always within the current report.

// A click on a column title: "POZ" orders by place (Pinx), the number column (DOWOD) by kind and
// number (Rinx), "DATA" by date (Dinx), "Komu" (ONAZ1) by name (Ninx). Other columns keep the
// order: false.
bool SortDocumentsByColumn(Table &headers, const QString &field);

// "Data :": date order, the first document dated at or after the text.
void FindDocumentByDate(Table &headers, const QString &typed);
// "Firma :": name order, the first document whose name is at or after the text.
void FindDocumentByName(Table &headers, const QString &typed);
// "RD :": kind order, the first document whose kind is at or after the text.
void FindDocumentByKind(Table &headers, const QString &typed, const QString &year);
