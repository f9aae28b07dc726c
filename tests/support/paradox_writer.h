#pragma once

#include "store/table_definition.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// Paradox tables written with pxlib, for trying the bringing-over of an old installation without
// any file of a real one. pxlib writes the tables and their memo files itself.

struct ParadoxColumn {
    QString name;
    int type = 0;   // pxlib's field type (pxfAlpha, pxfLong, ...)
    int length = 0; // bytes in the record
};

// A row as field names and values: QString (written in Windows-1250), qint64/int, double,
// bool, QDate; a field not named stays empty.
using ParadoxRecord = QList<QPair<QString, QVariant>>;

// The columns a Paradox table of the program's structure has: text(n) as alpha(n), integer as
// long, currency as money, float as number, memo with a leading part of its stored size.
QList<ParadoxColumn> ParadoxColumnsOf(const TableDefinition &definition);

// Writes the table (and its ".MB" beside it when a column is a memo), replacing any; the first
// keyFields columns make its primary key. Throws std::runtime_error when pxlib refuses.
void WriteParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<ParadoxRecord> &rows,
                       int keyFields = 0);

// Writes rows one by one as they are made, for tables too large to build in memory first.
class ParadoxTableWriter {
public:
    ParadoxTableWriter(const QString &path, const QList<ParadoxColumn> &columns, int keyFields = 0);
    ~ParadoxTableWriter();
    void add(const ParadoxRecord &record);

private:
    struct State;
    State *state_;
};

// A small installation of the old program: working folder and data root in one folder, the
// year 2024 with two desks, reports and documents with Polish letters and money at its edges
// (0,01; 999 999 999,99; a negative amount), contractors with memo fields and a field beyond the
// program's, and a table of another module ("FK\\DEKRETY.DB", with a date and a memo).
void WriteParadoxInstallation(const QString &folder);
