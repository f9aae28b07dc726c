#include "maintenance/paradox_migration_report.h"

#include "maintenance/paradox_migration.h"

#include <QDir>

#include <algorithm>

namespace {

QString Padded(const QString &text, int width)
{
    return text.leftJustified(width);
}

} // namespace

QString ParadoxMigrationReport(const ParadoxMigrationResult &result)
{
    QStringList lines;
    int width = 10;
    for (const MigratedTable &table : result.tables)
        width = std::max(width, int(table.relativePath.size()));
    lines << QStringLiteral("Tabele (wczytane wiersze, zapisane wiersze, zmienione wartości):");
    for (const MigratedTable &table : result.tables) {
        QString line = QStringLiteral("  %1 %2 %3 %4")
                           .arg(Padded(table.relativePath, width))
                           .arg(table.rowsRead, 8)
                           .arg(table.rowsWritten, 8)
                           .arg(table.valuesChanged, 6);
        if (table.carriedWhole)
            line += QStringLiteral("  przeniesiona w całości");
        if (table.createdEmpty)
            line += QStringLiteral("  utworzona pusta (brak jej w starej instalacji)");
        if (!table.extraFields.isEmpty())
            line += QStringLiteral("  pola spoza programu: %1").arg(table.extraFields.join(QStringLiteral(", ")));
        lines << line;
    }
    bool anyChange = false;
    for (const MigratedTable &table : result.tables) {
        if (table.changes.isEmpty())
            continue;
        if (!anyChange)
            lines << QString() << QStringLiteral("Zmienione wartości:");
        anyChange = true;
        for (const QString &change : table.changes)
            lines << QStringLiteral("  %1 %2").arg(table.relativePath, change);
        if (table.valuesChanged > table.changes.size())
            lines << QStringLiteral("  %1 ... i %2 innych").arg(table.relativePath).arg(table.valuesChanged - table.changes.size());
    }
    lines << QString() << QStringLiteral("Sprawdzenie (stara instalacja | nowa):");
    int labelWidth = 10;
    for (const ComparedFigure &figure : result.figures.lines)
        if (!figure.detail || !figure.agrees())
            labelWidth = std::max(labelWidth, int(figure.label.size()));
    int agreeingDetails = 0;
    for (const ComparedFigure &figure : result.figures.lines) {
        if (figure.detail && figure.agrees()) {
            ++agreeingDetails;
            continue;
        }
        lines << QStringLiteral("  %1 %2 | %3%4")
                     .arg(Padded(figure.label, labelWidth))
                     .arg(figure.oldValue, 18)
                     .arg(figure.newValue, -18)
                     .arg(figure.agrees() ? QString() : QStringLiteral("  RÓŻNICA"));
    }
    if (agreeingDetails > 0)
        lines << QStringLiteral("  Wartości poszczególnych raportów zgodne: %1").arg(agreeingDetails);
    lines << QString();
    if (result.installed)
        lines << QStringLiteral("Stara i nowa instalacja są zgodne. Nowa instalacja: %1").arg(QDir::toNativeSeparators(result.newFolder));
    else
        lines << QStringLiteral("Stara i nowa instalacja nie są zgodne; nowej instalacji nie zapisano.");
    return lines.join(u'\n') + u'\n';
}
