#pragma once

#include "store/table_definition.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Prompt;
class Session;

// Index repair: rebuilds the indexes of the tables the last open sequence opened with a display
// name, from each table's structure listing (on a server from the table's own definitions, and
// the server builds each index anew), then runs the open sequence again.

// Where the repair writes its progress, line by line (the repair window's log box).
class IndexRepairLog {
public:
    virtual ~IndexRepairLog() = default;
    virtual void clear() = 0;
    // Appends a line; returns its position, counted from 0.
    virtual int addLine(const QString &line) = 0;
    virtual void replaceLine(int position, const QString &line) = 0;
};

struct IndexRepairContext {
    Session &session;
    Prompt &prompt;
    // Table paths without extension, in the order the open sequence opened them.
    QStringList tables;
    // Opens every table again and rebuilds the list above. Without it the session reopens the
    // tables it closed.
    std::function<void()> rerunOpenSequence;
    // When given, gets one line per table left unrepaired: its path and why.
    QStringList *notRepaired = nullptr;
};

// The question the repair asks before it starts.
QString IndexRepairQuestion();

enum class IndexRepairResult {
    Declined, // the user answered No: nothing was touched
    Finished, // every table was processed ("KONIEC")
    Stopped,  // an index could not be built: the engine's message was shown, the rest skipped
};

IndexRepairResult RunIndexRepair(const IndexRepairContext &context, IndexRepairLog &log);

// The index lines of a listing as the repair reads them: everything before the first line that
// begins with "INDEKSY" is skipped, and of the lines after it those beginning with "Nazwa" are
// index lines, except the very last line of the file, which is never taken (in a complete
// listing it is "KONIEC"; in one cut short it may be cut itself). Name = characters 7-46
// without spaces, key fields = characters 52-91; an empty name is the primary (unique) index,
// any other a case-insensitive one.
QList<IndexDef> IndexLinesOfListing(const QByteArray &listing);

// The indexes of a listing the repair may trust: it begins with "STRUKTURA ZBIORU" and ends with
// "KONIEC", every line between is a field line, "INDEKSY" or (after it) an index line with key
// fields, and no index is listed twice. nullopt for anything else: a listing cut short or holding
// junk is not repaired from, and the table is left as it is.
std::optional<QList<IndexDef>> IndexesOfCompleteListing(const QByteArray &listing);

// The companion files a repair leaves in place: the table ("DB"), its memo ("MB") and its listing
// ("STR"), by the last two letters of the name, and SQLite's journal files, which may hold the
// only good copy of pages a crashed write left behind. Every other file named like the table
// (index and validity files) is deleted.
bool IsKeptByIndexRepair(const QString &fileName);
