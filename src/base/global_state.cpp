#include "base/global_state.h"

GlobalState &globalState()
{
    static GlobalState state;
    return state;
}
