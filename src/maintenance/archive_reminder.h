#pragma once

#include <QString>
#include <functional>

class Prompt;
class Table;

// Days from the last archive's date to today, both YYYY.MM.DD, counted on the calendar (across
// months and years). 0 when either text is no day.
int ArchiveDayCount(const QString &archiveDate, const QString &todayText);

// The reminder run as the main window closes. On the company row: an empty interval (ARCHDNI)
// becomes 3 and a date (ARCHDATA) that is not 10 characters long becomes today, each saved at
// once. When the interval is positive and at least that many days have passed, asks
// "Minęły N od ostatniej aktualizacji ARCHIWUM." and on Yes shows the archive window.
void SPRAWDZ(Table &company, Prompt &prompt, const QString &todayText, const std::function<void()> &showArchiveWindow);
