#pragma once

#include <QString>

// Where the tables lie. Relative names use "\" between folders as the program writes them
// ("KASA\NAGKASA"); they are turned into paths with the platform separator here.
// The data root always ends with a separator, so the year is appended without one.

// The relative name with every "\" or "/" turned into the platform separator.
QString NativeRelativePath(const QString &relative);

// The folder path with exactly one trailing platform separator (empty stays empty).
QString WithTrailingSeparator(const QString &folder);

// DataRoot + year + separator + relative ("KASA\KASA" -> ".../2019/KASA/KASA").
// A relative name that already begins with a separator is appended as it stands.
QString YearTablePath(const QString &dataRoot, const QString &year, const QString &relative);

// DataRoot + "FIRMA": the company table (the working folder when the data root is empty).
QString CompanyTablePath(const QString &dataRoot);

// The path without a trailing ".DB" (compared without regard to case).
QString WithoutDbExtension(const QString &path);
