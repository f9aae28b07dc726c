#pragma once

class Clock;
struct GlobalState;

// Sets TodayText (YYYY.MM.DD), CurrentYear and CurrentMonth from the clock's today.
void InitDateState(GlobalState &state, const Clock &clock);
