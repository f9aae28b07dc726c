#pragma once

#include <QString>

// What is wrong with a date the user typed into a date field (YYYY.MM.DD), or an empty text when
// it is a real day or nothing at all (an empty field empties the date).
QString DateInputProblem(const QString &typed);
