#pragma once

#include <QString>
#include <initializer_list>

class QDialog;
class QLineEdit;
class QWidget;

// The edit masks of the forms ("!9999/99/00;1;_") in Qt's mask language: "9" (a digit may be
// typed) becomes "0", "0" (a digit must be typed) becomes "9", "/" becomes the date separator
// "-", the blank character stays; "!" and the keep-literals flag have no Qt counterpart.
QString QtInputMask(const QString &formMask);

// A line edit with the form's edit mask and the given object name.
QLineEdit *MaskedLineEdit(const QString &formMask, const QString &objectName, QWidget *parent);

// Once the dialog is up, the field has the focus with its whole text selected, so typing
// replaces the proposed value instead of mixing with it.
void FocusAndSelectAll(QLineEdit &field);

// The buttons of the small dialogs. Abort ("Przerwij") rejects; Yes ("Tak"), Ok ("OK") and
// Change ("Zmień") accept and are the default, so Enter accepts and Esc aborts.
enum class DialogButton { Abort, Yes, Ok, Change };
// A row of the buttons in the order given, centred.
QWidget *DialogButtons(QDialog &dialog, std::initializer_list<DialogButton> buttons);
