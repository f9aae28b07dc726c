#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class Table;

// Texts that did not fit their field when rows were carried into a new structure: each is kept
// as far as the field holds it and listed, so the user learns what was shortened.
class CutTexts {
public:
    // Sets the text field, noting the value when the field cannot hold all of it; `row` says
    // which row it is in the list ("kasa 1", "NR 1").
    void setText(Table &table, const QString &field, const QString &text, const QString &row);

    bool isEmpty() const { return lines_.isEmpty(); }
    // A line per shortened value, each after "\r": "<table> <row>, pole <field>: "<whole value>""
    // (without the table's name when none is given).
    QString listing(const QString &tableName) const;

private:
    int textSize(const Table &table, const QString &field);

    QStringList lines_;
    QHash<const Table *, QHash<QString, int>> textSizes_; // read once per table

};
