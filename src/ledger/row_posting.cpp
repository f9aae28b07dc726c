#include "ledger/row_posting.h"

#include "app/prompt.h"
#include "ledger/refusal.h"
#include "store/table.h"

void EditRow(Table &table)
{
    if (table.state() != TableState::Edit && table.state() != TableState::Insert)
        table.edit();
}

void PostRow(Table &table, Prompt &prompt)
{
    if (!table.isOpen() || (table.state() != TableState::Edit && table.state() != TableState::Insert))
        return;
    try {
        table.post();
    } catch (const EngineError &) {
        table.cancel();
        prompt.error(QStringLiteral("Błąd zapisu"));
        Refuse();
    }
}
