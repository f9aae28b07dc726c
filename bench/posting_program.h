#pragma once

#include <QString>

// The benchmark of several programs posting at once starts this program again as each of them:
// "kasa-bench --post-documents ROOT N" posts N KP with three lines into the year under ROOT.
inline constexpr const char *kPostingProgramOption = "--post-documents";

// Posts the documents; the program's exit status.
int RunPostingProgram(const QString &root, int documents);
