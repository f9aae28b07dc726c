// The program's collations and SQL functions as a loadable SQLite extension, so the sqlite3 tool,
// Python's sqlite3 module and other SQLite programs can query and check the table files in the
// program's own order:
//
//     sqlite3 NAGKASA.DB -cmd '.load /path/to/build/libkasa_sqlite'
//
// Built from the same source as the program's own registration.
#include "store/polish_collation.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int sqlite3_kasasqlite_init(sqlite3 *db, char **, const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    return RegisterPolishTextFunctions(db);
}
