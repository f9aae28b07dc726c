#pragma once

#include <QString>

struct GlobalState;

// What is wrong with a date the user typed into a date field (YYYY.MM.DD), or an empty text when
// it is a real day or nothing at all (an empty field empties the date).
QString DateInputProblem(const QString &typed);

// The books hold no date before this year.
inline constexpr int kEarliestBookYear = 1990;

// What is wrong with a date of the books (a document's date, a report's first or last day): it
// must be a real day whose year lies between 1990 and the year after the working year, or today's
// year when that is later (a year typed as 0026 or 2206 is a slip of the keyboard, never a date
// of the books). An empty text is wrong unless allowed. An empty result means the date is right.
QString BookDateProblem(const QString &date, const GlobalState &state, bool emptyAllowed = false);
// The latest year a date of the books may have: the year after the working year, or today's year
// when that is later.
int LatestBookYear(const GlobalState &state);
