#pragma once

#include "print/print_settings.h"

#include <QString>

// Two-character control tokens a print line may begin with: "&G" condensed, "&N" normal,
// "&R" wide, "&W" page eject.

enum class Density { Condensed, Normal, Wide };

bool StartsWithEject(const QString &line);

// Removes the density tokens from the start of the line, testing "&G", "&N" and "&R" one
// after another in this order, so the last one found wins; without any the density stays.
Density TakeDensityTokens(QString &line, Density current);

// The density of a line on a printer: the override of the settings, or the line's own.
Density DensityOfLine(QString &line, Density current, TRODZAJ rodzaj);

// The line without one control token ("&G", "&N", "&R" or "&W") at its start.
QString WithoutControlToken(const QString &line);
