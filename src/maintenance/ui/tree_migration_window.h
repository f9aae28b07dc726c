#pragma once

#include "widgets/qt_prompt.h"

#include <QDialog>
#include <QPointer>

class ArchiveFolderPicker;
class Progress;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Przeniesienie danych na serwer lub z serwera": the data root the program works on, where its
// data is to go (a database server or an empty folder, with a button that picks a folder),
// "Przenieś dane", and below them the report of the last run. The work shows the progress
// window. Created once and shown modally.
class TreeMigrationWindow final : public QDialog {
    Q_OBJECT

public:
    // Without a prompt the window reports failures through message boxes.
    TreeMigrationWindow(const QString &dataRoot, Progress &progress, Prompt *prompt = nullptr, QWidget *parent = nullptr);

    int showModal() { return exec(); }

    // "Przenieś dane"
    void StartClick();

    QLabel *Source;
    QLineEdit *Target;
    QPushButton *StartButton;
    QPlainTextEdit *Report;

private:
    QString dataRoot_;
    Progress &progress_;
    QtPrompt ownPrompt_;
    Prompt &prompt_;
    QPointer<ArchiveFolderPicker> picker_;
};
