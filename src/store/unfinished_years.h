#pragma once

#include <QString>

// A new year is built whole in a hidden folder beside the year folders and gets the year's name
// with one rename; the folder for building the year in the folder that holds the year folders.
QString UnfinishedYearFolder(const QString &folder, const QString &year);

// Removes what an interrupted opening left of a year being built there; the year itself never
// appeared. Done at every start and before every opening.
void RemoveUnfinishedYears(const QString &folder);
