#pragma once

#include <QString>

// What is wrong with a value typed into the company data, or an empty text when the field can
// take it. An empty text always can: it empties the field.

// A text longer than the field's size is refused rather than cut.
QString TextLengthProblem(const QString &typed, int size);
// The owner's date of birth, DD-MM-RRRR, must be a real day.
QString BirthDateProblem(const QString &typed);
// The start of the fiscal year, MM.DD, must be a day of every year (no 29 February).
QString FiscalYearStartProblem(const QString &typed);
// The archive reminder interval is a whole number of days (0 or less switches the reminder off).
QString ArchiveIntervalProblem(const QString &typed);
