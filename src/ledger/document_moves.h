#pragma once

#include "store/table.h"

#include <QList>
#include <QString>

struct LedgerContext;

// Steps the renumbering, copying and number-change commands share.

// The rows the view shows, in its order (or backwards), remembered before anything is changed:
// a walk over them is not disturbed by rows moving in the order as they are renumbered.
QList<Bookmark> RowsInOrder(Table &view, bool backwards = false);
// The current document (header in TNAG, its lines in TPOZ) gets the number: its line rows
// first, then the header, each posted.
void MoveDocumentToNumber(LedgerContext &context, int number);
