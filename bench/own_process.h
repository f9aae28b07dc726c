#pragma once

#include <benchmark/benchmark.h>

// Memory figures of one benchmark are read in a process of its own: memory an earlier benchmark
// gave back would otherwise be taken again unseen. In the program as started, runs this benchmark
// once in a new process of this program (filtered to it alone), takes over its counters and
// returns true: the caller then does nothing more. In that new process returns false.
// The benchmark is named by its function's name; its one argument is the state's.
bool RunInOwnProcess(benchmark::State &state, const char *function);
