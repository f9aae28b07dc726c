#pragma once

#include <QString>

class Table;

// Where a document number sequence runs (first option digit of P2).
enum class NumberingScope {
    Year,     // "0": one sequence per desk and kind through the whole year
    Report,   // "1": one sequence per report and kind
    AllDesks, // "2": one sequence per kind over every desk of the year
};

// Read from the parameter row; an empty or closed parameter table gives the defaults.
NumberingScope NumberingScopeOf(const Table &parameters);
// P1, or "[RD] [NRD]" when P1 is blank.
QString NumberTemplateOf(const Table &parameters);
