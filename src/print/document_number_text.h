#pragma once

#include <QList>
#include <QString>

class ListedDocument;
class ListedDocuments;
struct LedgerTables;

// The printed number of a listed document, as the documents list computes it for its rows
// (DOWOD): the typed number A1 of a KPD or KWD, else the number template P1 filled with the
// row's own fields, "[OZNACZENIE]" with the current report's marking.
class DocumentNumberText {
public:
    // The template and the marking as they stand when the listing starts, for the rows of
    // these documents.
    DocumentNumberText(const LedgerTables &tables, const ListedDocuments &documents);

    QString of(const ListedDocument &document) const;

private:
    // The template filled once: its literal text with a stand-in character for each field
    // (which fields a template names does not change from row to row), then per row the stand-ins
    // replaced with the row's texts. Stand-ins are private-use characters, which the templates,
    // typed in an 8-bit code page, never hold.
    QString filled_;
    QList<int> fields_; // the field position of each stand-in, in order
};
