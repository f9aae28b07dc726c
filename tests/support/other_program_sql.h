#pragma once

#include <QByteArray>
#include <QString>

// Another program working on a table with SQL through a connection of its own, on whichever back
// end holds the table. In the SQL, "data" stands for the table's rows; field names are quoted.
enum class OtherProgramAnswer { Done, Busy, Failed };

OtherProgramAnswer OtherProgramTries(const QString &tablePath, const QByteArray &sql);
// Whether another program could start a write on the table now.
bool OtherProgramCouldWrite(const QString &tablePath);
