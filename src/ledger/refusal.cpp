#include "ledger/refusal.h"

#include "store/engine_error.h"

void Refuse()
{
    throw Abort{};
}
