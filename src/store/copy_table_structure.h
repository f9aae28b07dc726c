#pragma once

#include <QString>

class Table;
struct TableHelperContext;

// Creates the table targetPath (with ".DB") with the source's fields (none required) and indexes.
// With copyRows every row of the source table is copied in (whatever the source object's order,
// range, filter or master link; rows whose key is already there are updated), and the fields named
// in clearFields ("A;B") are then emptied in every row. The source object is left as it was.
//
// False when the target already exists (nothing changes), when it cannot be created ("Nie mozna
// utworzyć tabeli", caption "Błąd") or when the rows cannot be copied or cleared; a target this
// call created is removed again then, so a later attempt starts afresh.
bool CopyTableStructure(Table &source, const QString &targetPath, bool copyRows, const QString &clearFields,
                        TableHelperContext &context);
