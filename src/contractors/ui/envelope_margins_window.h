#pragma once

#include <QDialog>

class Prompt;
class QLabel;
class QLineEdit;

// "Ustawienie marginesów": the envelope's top and left margins in millimetres, kept in
// "Margines.dan" in the working folder. "Zapisz" stores them and closes; "Zrezygnuj" closes.
class EnvelopeMarginsWindow final : public QDialog {
    Q_OBJECT

public:
    EnvelopeMarginsWindow(const QString &marginsFile, Prompt &prompt, QWidget *parent = nullptr);

    // Shows the stored margins (the defaults, with a note, when the file is missing or damaged)
    // and runs the window until it closes.
    int showModal();
    // "Zapisz": both values checked, then the file written; the window stays open when either
    // is wrong or the file cannot be written, with a message saying so.
    void save();

    QLineEdit *TopMargin;
    QLineEdit *LeftMargin;
    QLabel *Note;

private:
    QString marginsFile_;
    Prompt &prompt_;
};
