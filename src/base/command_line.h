#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The arguments the program understands. Arguments are separated by blanks, so a path with
// spaces is written with "_" in their place.

// The data root given by "dr=path" (prefix in any case, any position, the last one wins), with
// every "_" turned into a space; empty when no such argument is given.
QString DataRootFromArguments(const QStringList &arguments);

// The year given by "rok YYYY" as the first two arguments ("rok" in any case); nullopt otherwise.
std::optional<QString> YearFromArguments(const QStringList &arguments);

// Position (1-based) of the first argument the main window interprets: 3 after "rok YYYY", else 1.
int CommandArgIndexFor(const QStringList &arguments);

// True when the data root lies outside the working folder's tree: a copy of an installation still
// works on the original's data, which the user must be told.
bool DataRootLiesOutside(const QString &dataRoot, const QString &workingFolder);
// What a command says first when it works on such a data root; empty when the root lies inside.
QString DataRootOutsideNotice(const QString &dataRoot, const QString &workingFolder);
