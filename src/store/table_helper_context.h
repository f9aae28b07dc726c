#pragma once

class Prompt;
class Session;
struct GlobalState;

// What the table helpers work with: the session their temporary table objects live in, the way
// to speak to the user, and the global state (the list of opened tables, today's date).
struct TableHelperContext {
    Session &session;
    Prompt &prompt;
    GlobalState &state;
};
