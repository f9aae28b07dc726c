#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class Session;

// A row to append, as field names with the program's values (QString, int, bool, Money);
// fields not named stay empty.
using TableRecord = QList<QPair<QString, QVariant>>;

// Appends the records to the table file (path with or without ".DB") in one transaction: all
// of them or none. The table is opened for the work and closed again.
void AppendRecords(Session &session, const QString &tablePath, const QList<TableRecord> &records);

// How many rows the table file holds.
int CountRows(Session &session, const QString &tablePath);
