#pragma once

#include <QString>

class Session;

// Writes the structure listing of the table path + ".DB" into path + ".STR", read from the table
// through a temporary table object of the session. Failures are silent: a listing file that was
// created but could not be filled stays as it is.
void WriteStructureListing(Session &session, const QString &pathWithoutExtension);
