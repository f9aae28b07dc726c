#include "users/access_levels.h"

#include "store/table.h"

#include <algorithm>

namespace {

const QString kProgramLevelField = QStringLiteral("P9");
const QString kGeneralLevelField = QStringLiteral("P0");

int LevelOf(const Table &users, const QString &field)
{
    return std::clamp(users.asInteger(field), kNoAccessLevel, kAdministrationLevel);
}

} // namespace

const QList<AccessLevelEntry> &AccessLevels()
{
    static const QList<AccessLevelEntry> levels{
        {0, QStringLiteral("brak"), QString::fromUtf8("brak         - brak uprawnień do programu")},
        {1, QString::fromUtf8("podgląd"), QString::fromUtf8("podgląd      - uprawnienia do oglądania i zestawień")},
        {100, QStringLiteral("edycja"), QString::fromUtf8("edycja       - uprawnienia do zmiany danych")},
        {200, QStringLiteral("aktualizacja"), QStringLiteral("aktualizacja - import, export, weryfikacja")},
        {255, QStringLiteral("administracja"), QStringLiteral("administracja")},
    };
    return levels;
}

QStringList AccessLevelLabels()
{
    QStringList labels;
    for (const AccessLevelEntry &entry : AccessLevels())
        labels.append(entry.label);
    return labels;
}

QStringList AccessLevelLegend()
{
    QStringList lines;
    for (const AccessLevelEntry &entry : AccessLevels())
        lines.append(entry.legend);
    return lines;
}

QString AccessLevelLabel(const QString &storedLevel)
{
    bool isNumber = false;
    const int level = storedLevel.trimmed().toInt(&isNumber);
    if (!isNumber)
        return storedLevel;
    for (const AccessLevelEntry &entry : AccessLevels())
        if (entry.level == level)
            return entry.label;
    return storedLevel;
}

std::optional<int> AccessLevelOfLabel(const QString &label)
{
    for (const AccessLevelEntry &entry : AccessLevels())
        if (entry.label == label)
            return entry.level;
    bool isNumber = false;
    const int level = label.trimmed().toInt(&isNumber);
    if (isNumber && level >= kNoAccessLevel && level <= kAdministrationLevel)
        return level;
    return std::nullopt;
}

int EffectiveAccessLevel(const Table &users)
{
    if (users.hasField(kProgramLevelField) && !users.isNull(kProgramLevelField))
        return LevelOf(users, kProgramLevelField);
    if (users.hasField(kGeneralLevelField))
        return LevelOf(users, kGeneralLevelField);
    return kNoAccessLevel;
}
