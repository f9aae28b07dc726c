#pragma once

#include "store/table_records.h"

#include <QDate>
#include <QString>

class Session;

// The demo firm written into a fresh data tree: a small trading firm with two cash desks
// (Polish złoty and euro), its dictionaries, fifty contractors, three operators and a year of
// cash reports and documents.

// The company row's data (everything but NR and DR).
TableRecord DemoCompanyFields();

// Fills the year's tables, which must exist and be empty. Each table is written in one
// transaction.
void FillDemoYear(Session &session, const QString &dataRoot, const QString &year, const QDate &today);
