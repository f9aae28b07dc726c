#pragma once

#include <QList>
#include <QString>

// A set of files written beside their targets takes its place by one rename per file. Before the
// first rename the list of moves is written to a journal in the folder that holds them all, and
// removed after the last: a set interrupted half way is finished at the next start (or before the
// next whole-tree copy touches the folder), so the folder always ends entirely new.

struct PendingMove {
    QString scratch; // a complete file, synced to the disk
    QString target;
};

// Writes the journal of the moves (paths under the folder) and makes it durable; false when it
// cannot be written.
bool WriteMoveJournal(const QString &folder, const QList<PendingMove> &moves);

// Removes the journal once every move is done.
void RemoveMoveJournal(const QString &folder);

// Finishes the moves a journal in the folder lists (those whose scratch file is still there)
// and removes the journal. True when there was nothing to finish or all of it was finished.
bool FinishInterruptedMoves(const QString &folder);
