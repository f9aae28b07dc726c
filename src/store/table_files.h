#pragma once

#include <QString>
#include <QStringList>

// File-level helpers for tables: the files that make up a table, the read-only attribute, and
// file names matched without regard to case (the data tree spells some names differently in
// different places).

// Every file in the table's folder whose name is the table's name followed by "." and any
// extension ("NAGKASA.DB", "NAGKASA.STR", "nagkasa.db-journal"), names compared without regard
// to case. Full paths with the on-disk spelling, sorted by name; empty when the folder is missing.
QStringList TableCompanionFiles(const QString &tablePathWithoutExtension);

// The read-only attribute is the owner's write bit of the file mode, whoever runs the program.
// A missing file is not read-only.
bool IsReadOnlyFile(const QString &path);
// Sets the owner's write bit; true when the file is writable by that bit afterwards.
bool ClearReadOnly(const QString &path);

// The path with each existing component in its on-disk spelling: a component is taken as given
// when it exists so, else the first entry of its folder (in name order) that matches without
// regard to case. From the first component that does not exist on, the given spelling is kept.
QString ResolvePathIgnoringCase(const QString &path);
