#pragma once

#include "store/engine_error.h"

#include <QString>
#include <exception>
#include <functional>

class Table;
struct LedgerTables;

// Small questions the rules and commands ask of the current desk, report and document.
bool HasRows(const Table &table);            // open and showing at least one row
bool DeskHasReports(const LedgerTables &tables);
bool ReportHasDocuments(const LedgerTables &tables);
bool CurrentReportIsOpen(const LedgerTables &tables); // a current report exists and is not closed
QString CurrentDeskSymbol(const LedgerTables &tables);
int CurrentReportNumber(const LedgerTables &tables);
QString CurrentReportMarking(const LedgerTables &tables);
// The date (YYYY.MM.DD) lies within the current report's days: from its first day on, up to its
// last day once it has one. Without a current report there are no days to leave.
bool DateWithinCurrentReport(const LedgerTables &tables, const QString &date);

// Runs the visit with the getters reading the desk's last stored report (nothing when it has
// none). The view does not move: a report being typed stays in edit, unstored and unchecked,
// and the report's windows and documents stay where they are.
void VisitLastReport(Table &reports, const std::function<void()> &visit);
bool LastReportIsClosed(Table &reports);

// Runs a step whose failure must not stop the steps after it (window updates after a move).
template <typename Step> void Guarded(Step step)
{
    try {
        step();
    } catch (const Abort &) {
    } catch (const std::exception &) {
    }
}
