#pragma once

class QFileDialog;

// The program's file dialogs write their files' days as the rest of the program does, in Polish,
// whatever language the system is set to (the dialog's own list would follow the system's).
void ShowFileDatesInPolish(QFileDialog &dialog);
