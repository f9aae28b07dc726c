#pragma once

#include "base/money.h"

#include <QString>
#include <QDate>
#include <QTime>

class Clock;
struct GlobalState;

// Pieces every listing is made of.

// An amount in a column of a document listing: "# ### ##9.99", always 12 characters; from
// 10 000 000,00 on the picture's overflow "# ### ###.##".
QString ListingAmount(Money amount);
// A total as the listing's amounts are written, twelve characters as long as it fits, else as
// wide as its digits need (a year's total may outgrow any single amount).
QString ListingTotal(Money total);
// The column a total starts at so that it ends where the amount column does.
int ListingTotalColumn(int amountColumn, const QString &total);

// A blank line of a column listing: a bar wherever the heading has one, spaces elsewhere.
// Values are then written over it at their columns (PutAt).
QString BlankColumnLine(const QString &heading);

// One line of a column listing, filled in place: the blank line copied once, each value
// written over it at its 1-based column as PutAt writes it (a value running past the end
// lengthens the line).
class ColumnLine {
public:
    explicit ColumnLine(const QString &blankLine) : line_(blankLine) {}
    ColumnLine &put(int column, QStringView text);
    const QString &text() const { return line_; }

private:
    QString line_;
};

// The time of a cash-state listing's title: the hour through "99:" and the minute through "99".
QString ListingClockText(QTime time);

// A day in the form the documents keep their dates (yyyy.mm.dd), which compares as text.
QString StoredDate(QDate day);
// A day as the date fields show it (yyyy-mm-dd); the listings print the days they were given so.
QString TypedDate(QDate day);
// The program's today (TodayText, yyyy.mm.dd), or the clock's when that is no date.
QDate ProgramToday(const GlobalState &state, const Clock &clock);
