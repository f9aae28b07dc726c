#pragma once

#include "widgets/qt_prompt.h"
#include "store/index_repair.h"

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;
class Session;
struct GlobalState;

// "Naprawa Indeksów": the button "START" above a log box that fills the window. START rebuilds
// the indexes of the tables the open sequence recorded and runs the open sequence again.
// Created once and shown modally.
class IndexRepairWindow final : public QDialog, private IndexRepairLog {
    Q_OBJECT

public:
    // Without a prompt the window asks and reports through message boxes.
    IndexRepairWindow(Session &session, GlobalState &state, std::function<void()> rerunOpenSequence,
                      Prompt *prompt = nullptr, QWidget *parent = nullptr);

    int showModal() { return exec(); }

    // "START"
    void StartClick();

    QPushButton *StartButton;
    QListWidget *Log;

private:
    void clear() override;
    int addLine(const QString &line) override;
    void replaceLine(int position, const QString &line) override;

    Session &session_;
    GlobalState &state_;
    std::function<void()> rerunOpenSequence_;
    QtPrompt ownPrompt_;
    Prompt &prompt_;
};
