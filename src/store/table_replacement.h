#pragma once

#include <QString>

class Session;
class Table;

// The path (without extension) of a scratch table beside the given one: "FIRMA" -> "FIRMA_NOWY".
// Its files are not companions of the table ("FIRMA_NOWY.DB" does not begin with "FIRMA.").
QString ScratchTablePath(const QString &tablePathWithoutExtension, const QString &suffix);

// Beside table "T.DB": "T_NOWY.DB", where a complete replacement waits for its move, and
// "T_STARY.DB", the old table kept while the replacement moves in.
QString ReplacementTablePath(const QString &tablePath);
QString BackupTablePath(const QString &tablePath);

// Puts a complete, closed replacement table in the place of the table. The table object names
// the table and is best held open exclusively, so no other program writes the old file until the
// new one has its name; it is closed on return. The replacement is first moved to "T_NOWY.DB" and
// written to disk, then the old file is kept as "T_STARY.DB", the replacement takes the table's
// name in one rename, and only then is the kept copy removed. So the table's name always names a
// whole table, and a start after a power cut finds what to finish (RecoverInterruptedReplacement).
// False when the replacement could not move in; the old table is then unchanged and the
// replacement is gone.
bool ReplaceTableFile(Table &table, const QString &replacementPath);

// What a start found of a replacement cut short.
enum class ReplacementRecovery {
    Nothing,     // no replacement was under way
    Finished,    // the replacement was complete and now has the table's name
    Restored,    // the old table had lost its name and has it again
    InProgress,  // another program is replacing the table right now
};

// Finishes or undoes a replacement of the table that a power cut or a killed program left
// half-way: a complete "T_NOWY.DB" beside a kept "T_STARY.DB" moves in; a kept copy whose table
// is gone takes its name back; a kept copy beside its table is removed. Runs before the table
// is opened, whoever opens it.
ReplacementRecovery RecoverInterruptedReplacement(const QString &tablePath);

// Closes the table object and deletes its table file; a table that is not there or cannot be
// deleted is left as it is.
void DeleteTableQuietly(Table &table);

// Gives the file a second name, on disk when this returns: the same file under both names where
// the file system allows it (nothing copied, no room needed), else a complete copy that takes
// the second name in one rename. False when neither could be made.
bool GiveSecondName(const QString &file, const QString &secondName);

// Writes the file's data, then the folder's entry, to disk.
bool SyncFileAndFolder(const QString &filePath);
