#pragma once

// Places where a replacement or a conversion could be cut short by a power cut. A test names one
// in the environment variable KASA_CRASH_POINT ("name", or "name:N" for its N-th pass) and the
// program is killed there, so the test can start it again and see what it finds.
void CrashPoint(const char *name);
