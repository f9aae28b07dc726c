#pragma once

// Abandons the running operation: a rule that refuses has said why (or refuses silently), and
// the command boundary swallows the engine's Abort. A function, because the prompt's buttons
// also have an "Abort" that hides the exception type's name where both are seen.
[[noreturn]] void Refuse();
