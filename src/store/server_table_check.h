#pragma once

#include "store/table_definition.h"
#include "store/table_file_check.h"

#include <QString>
#include <optional>

// The check of a table on a database server, read-only: the table and its field and index
// definitions are there; when the program knows the table, every field it expects has its type
// in the definitions and a column of the matching server type, and every index it expects is
// defined; every defined index exists on the server; and, with the server's index checker,
// every index of the table agrees with the rows.
//
// Gets the server's index checker ready for the data root's database (it is made once per
// database where the login may make it); empty when it is ready, else why it is not.
QString PrepareServerIndexCheck(const QString &dataRoot);

TableFileCheck InspectServerTable(const QString &path, const std::optional<TableDefinition> &expected,
                                  bool checkIndexConsistency);
