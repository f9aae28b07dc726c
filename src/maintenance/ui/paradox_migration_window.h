#pragma once

#include "widgets/qt_prompt.h"

#include <QDialog>
#include <QPointer>

class ArchiveFolderPicker;
class Progress;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Przeniesienie danych z tabel Paradox": the old installation's working folder and data root,
// the new installation's folder, each with a button that picks it, "Przenieś dane", and below
// them the report of the last run. The work shows the progress window. Created once and shown
// modally.
class ParadoxMigrationWindow final : public QDialog {
    Q_OBJECT

public:
    // Without a prompt the window reports failures through message boxes.
    explicit ParadoxMigrationWindow(Progress &progress, Prompt *prompt = nullptr, QWidget *parent = nullptr);

    int showModal() { return exec(); }

    // "Przenieś dane"
    void StartClick();

    QLineEdit *OldWorkingFolder;
    QLineEdit *OldDataRoot;
    QLineEdit *NewFolder;
    QPushButton *StartButton;
    QPlainTextEdit *Report;

private:
    QPushButton *pickerFor(QLineEdit *field);

    Progress &progress_;
    QtPrompt ownPrompt_;
    Prompt &prompt_;
    QPointer<ArchiveFolderPicker> picker_;
};
