#pragma once

#include <QString>

struct ParadoxMigrationResult;

// The report of bringing an installation over: one line per table (rows read, written, values
// changed, carried whole, made empty), the values changed, then the figures old and new side by
// side (a single report's figures only where they disagree), and the verdict.
QString ParadoxMigrationReport(const ParadoxMigrationResult &result);
