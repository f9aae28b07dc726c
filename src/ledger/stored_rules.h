#pragma once

#include "store/table.h"

#include <QString>
#include <optional>

class Prompt;
struct LedgerTables;

// The rules that decide whether a write is allowed read the stored rows inside the write's own
// transaction (the tables' beforeWrite events), never a row buffered earlier: another program on
// the same data tree may have closed the report or deleted the desk since. Their files are
// locked in one order everywhere (desks, reports, documents), so two programs never wait for each
// other in a circle.

// Refuses the running write: the engine rolls it back and the message reaches the person once
// no lock is held any more (the table's post-error handler, or the window, for a delete).
[[noreturn]] void RefuseWrite(const QString &message);
// The post-error handler's part for those refusals: shows the message and abandons the post
// (the row stays in edit); nullopt for any other error.
std::optional<PostErrorAction> ShowWriteRefusal(Prompt &prompt, const EngineError &error);

// Locks the reports' file and refuses the write unless the stored report of the desk is open.
void RequireStoredReportOpen(const LedgerTables &tables, const QString &desk, int report);
