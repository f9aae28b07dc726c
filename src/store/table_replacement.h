#pragma once

#include <QString>

class Session;
class Table;

// The path (without extension) of a scratch table beside the given one: "FIRMA" -> "FIRMA_NOWY".
// Its files are not companions of the table ("FIRMA_NOWY.DB" does not begin with "FIRMA.").
QString ScratchTablePath(const QString &tablePathWithoutExtension, const QString &suffix);

// Puts the replacement table file in the place of the table file (both closed; paths with or
// without ".DB"). The old file is first moved aside and deleted only once the replacement has
// its name, so at every moment one complete table is there; on failure the old table is put back
// and the result is false (the replacement then stays under its own name).
bool ReplaceTableFile(Session &session, const QString &tablePath, const QString &replacementPath);

// Closes the table object and deletes its table file; a table that is not there or cannot be
// deleted is left as it is.
void DeleteTableQuietly(Table &table);
