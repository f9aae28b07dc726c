#include "ledger/row_posting.h"

#include "ledger/refusal.h"
#include "store/table_edit_helpers.h"

void EditRow(Table &table)
{
    EnsureEditing(table);
}

void PostRow(Table &table, Prompt &prompt)
{
    if (!PostAndFlush(table, prompt))
        Refuse();
}
