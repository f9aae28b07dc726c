#pragma once

#include "base/money.h"
#include "store/row.h"
#include "store/table.h"
#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class ListedDocuments;

// One row of the document table as a listing reads it.
class ListedDocument {
public:
    QString desk() const;          // SYMBOL
    QString report() const;        // NUMER
    QString kind() const;          // RD
    QString date() const;          // DATA
    Money amount() const;          // KWOTA (0 when empty)
    Money lineAmount() const;      // KWOTAP
    QString contractorName() const; // ONAZ1
    QString description() const;  // TYT1
    QString typedNumber() const;   // A1
    // A stored field as text, by its position (ListedDocuments::fieldPosition).
    QString textAt(int position) const;

private:
    friend class ListedDocuments;
    ListedDocument(const ListedDocuments &documents, const StoredValues &row) : documents_(documents), row_(row) {}
    Money moneyAt(int position) const;

    const ListedDocuments &documents_;
    const StoredValues &row_;
};

// The document rows a listing prints, read through a view of the listing's own on the document
// table, so the documents list and its current row never move: an order, conditions said to
// SQLite, and rows read a page at a time and by field positions, so that a year of rows costs
// little more than SQLite's own reading of it.
class ListedDocuments {
public:
    // A view on the file of documentsLike (the data module's TNAG) in the order of the index
    // ("" for the primary one), showing the rows that meet the conditions.
    ListedDocuments(const Table &documentsLike, const QString &indexName, const QList<FilterCondition> &conditions);
    ~ListedDocuments();
    ListedDocuments(const ListedDocuments &) = delete;
    ListedDocuments &operator=(const ListedDocuments &) = delete;

    int count() const;
    // The position of a stored field of the table, names compared without regard to case; -1
    // for a name that is no stored field. The rows forEach() hands on carry the fields of
    // ListedDocument's getters and every field asked for here; only those are read.
    int fieldPosition(const QString &field) const;
    // Every row in order.
    void forEach(const std::function<void(const ListedDocument &)> &visit) const;

private:
    friend class ListedDocument;
    struct Positions {
        int desk, report, kind, date, amount, lineAmount, contractorName, description, typedNumber;
    };

    std::unique_ptr<Table> view_;
    TableDefinition definition_;
    Positions positions_;
    mutable QList<int> readFields_;
};
