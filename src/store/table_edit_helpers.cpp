#include "store/table_edit_helpers.h"

#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/table.h"

void EnsureEditing(Table &table)
{
    if (table.state() != TableState::Edit && table.state() != TableState::Insert)
        table.edit();
}

bool PostAndFlush(Table &table, Prompt &prompt)
{
    if (!table.isOpen())
        return true;
    bool posted = true;
    if (table.state() == TableState::Edit || table.state() == TableState::Insert) {
        try {
            table.post();
        } catch (const EngineError &) {
            table.cancel();
            prompt.error(QStringLiteral("Błąd zapisu"));
            posted = false;
        }
    }
    table.flush();
    return posted;
}
