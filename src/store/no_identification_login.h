#pragma once

class Prompt;
class Table;
struct GlobalState;

// The login used until user identification is part of the program. Login mode L4 below 1 means
// no identification: everybody works with level 255 and LoginName keeps its value. Any other
// mode is refused with a message, since this program cannot check it yet.
bool LoginWithoutIdentification(Table &parameters, GlobalState &state, Prompt &prompt);

// The refusal shown for a login mode this program cannot check.
extern const char *const kLoginNotAvailableMessage;
