#pragma once

#include <QString>
#include <QStringList>

// The program-wide values every area reads. One instance for the whole run (globalState()).
struct GlobalState {
    QString TodayText;        // YYYY.MM.DD
    QString CurrentYear;      // YYYY, selects the year folder
    QString CurrentMonth;     // MM
    QString DataRoot;         // root of the data tree, ends with a separator, or empty
    QStringList YearFolders;  // year folders present in DataRoot, ascending
    int CommandArgIndex = 1;  // first argument the main window interprets (1-based)
    QString LoginName;
    // The login the user signed in with; unlike LoginName it stays when the login mode is
    // changed during the run, so the signed-in user's own row stays his.
    QString SignedInLogin;
    quint8 AccessLevel = 0;
    QString OperatorName;
    QString CompanyShortName;
    bool StartupStop = false;
    quint8 ProgramNumber = 9;
    QStringList OpenedTableList;  // tables opened with a display name, at most 50
    QString BiezacyRD = QStringLiteral("KP");
    QString FiltrMiesiaca;        // empty or YYYY.MM during the monthly report
};

GlobalState &globalState();
