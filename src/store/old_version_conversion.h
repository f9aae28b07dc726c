#pragma once

#include <QString>

struct TableHelperContext;

// What a conversion or its resumption ended with.
struct ConversionOutcome {
    bool completed = false;
    // Values shortened to fit the new fields and rows that could not be carried over (a report
    // without its desk, documents without their report), one per line, for the closing message;
    // the rows themselves stay in the old tables kept in KONWERT.
    QString notes;
};

// Converts the cash tables of the oldest version in the working year (cash desks keyed by the
// number AUTOKASA, reports by AUTOKASA and AUTORK) into the current structure, keyed by desk
// symbol and report number. A desk without a symbol gets 1, 2, ... and a report without a number
// 1, 2, ... within its desk, each skipping values the old rows already use.
//
// The conversion is one unit. The old tables are held exclusively for its whole run (a second
// workstation waits, is told, and never does the same work; tables another program converted
// meanwhile are left alone). The new tables are built in "KASA\KONWERT" and checked row for row;
// only then is the conversion marked as built, the old tables kept in "KASA\KONWERT\STARE" and
// the new ones copied over them, each by one rename of a complete file, with the old structure
// listings removed. A failure on the way puts the old tables back; a power cut is finished by
// ResumeInterruptedConversion at the next start. The KONWERT folder and its tables stay.
//
// Shows "Nie mozna utworzyć tabeli" or "Nie mozna otworzyć tabeli" (or what failed) when the
// conversion could not be completed; the old tables are then unchanged. Every table of the
// year's KASA folder must be closed.
ConversionOutcome ConvertOldVersionTables(TableHelperContext &context);

// What a start found of a conversion cut short.
enum class ConversionResumption {
    Nothing,    // no conversion was under way
    Finished,   // the built conversion was copied into place now
    RolledBack, // it could not be finished; the old tables are back
    Held,       // another program holds the cash tables; nothing was done
};

// Runs before the year's cash tables are opened: a conversion that was built completely but not
// yet copied into place (a power cut, a killed program) is finished, or undone when that fails,
// and the user is told which. A conversion cut short while it was still being built left the old
// tables untouched and is simply asked for again.
ConversionResumption ResumeInterruptedConversion(TableHelperContext &context);
