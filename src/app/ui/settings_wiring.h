#pragma once

class Prompt;
class TDANE;
class TKASAF;

// "Dane o Firmie", "Parametry programu", "O programie" and "Pomoc" on the main window. Each
// window is created over the main window on first use and kept; after each modal one the main
// window shows the new values at once.
void WireSettingsWindows(TKASAF &window, TDANE &data, Prompt &prompt);
