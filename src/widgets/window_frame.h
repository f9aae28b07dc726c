#pragma once

class QDialog;
class QHBoxLayout;
class QWidget;

// A frame with a caption and no border icons (no close, minimise or maximise buttons).
void UseCaptionOnlyFrame(QWidget &window);

// Makes the window wide enough for its caption and its contents, so neither is cut.
void FitToCaption(QWidget &window);

// Moves the window to the centre of the screen it is on (the primary screen before it is shown),
// fitted to its caption first.
void CentreOnScreen(QWidget &window);

// Moves the window to the centre of another window (of the screen while that one is not shown).
void CentreOver(QWidget &window, const QWidget *over);

// The row at the foot of a settings dialog: "Zamknij" on the right, accepting the dialog. It is
// not the dialog's default button, so Enter in a field does not close the dialog.
QHBoxLayout *CloseButtonRow(QDialog &dialog);
