#pragma once

#include "store/data_change_permission.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Table;

// The permission levels of this program. The program acts on three thresholds: level 0 may not
// work at all, 100 may change data, 255 (with a login mode set) may administer the users.
inline constexpr int kNoAccessLevel = 0;
inline constexpr int kAdministrationLevel = 255;

struct AccessLevelEntry {
    int level;
    QString label;  // "edycja", as the users window shows and takes it
    QString legend; // its line in the legend box
};

// The five levels offered, lowest first.
const QList<AccessLevelEntry> &AccessLevels();
QStringList AccessLevelLabels();
QStringList AccessLevelLegend();

// The label of a level; a level the table does not name shows as its number, an empty field
// as nothing.
QString AccessLevelLabel(const QString &storedLevel);
// The level a label stands for; a number is taken as it is; nullopt for anything else.
std::optional<int> AccessLevelOfLabel(const QString &label);

// The level of the users table's current row for this program: "P9" when the field holds a
// value, else the general "P0". Values outside 0..255 written by another program are brought
// into that range, so a level never wraps round.
int EffectiveAccessLevel(const Table &users);
