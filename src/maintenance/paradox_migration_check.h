#pragma once

#include <QList>
#include <QString>

class Session;
struct OldInstallationTable;

// The figures a migration is judged by, computed once from the old Paradox files and once from
// the new tables, side by side.

struct ComparedFigure {
    QString label;    // "Rok 2024, kasa 01: wpłaty"
    QString oldValue;
    QString newValue;
    bool detail = false; // one report's figure: listed only when it disagrees

    bool agrees() const { return oldValue == newValue; }
};

struct ComparedFigures {
    QList<ComparedFigure> lines;

    bool agree() const
    {
        for (const ComparedFigure &line : lines)
            if (!line.agrees())
                return false;
        return true;
    }
};

// Every year's cash figures: per desk the number of reports, the sums of their opening and
// closing balances, the receipts, the payouts and the cash state (the last report's closing
// balance, or while it is open its opening balance with its documents); per report its own
// balances and turnover; per document kind the number of documents and their total. The new
// tables lie below newFolder at the tables' relative paths. Throws ParadoxFileError when an old
// table cannot be read, EngineError when a new one cannot.
QList<ComparedFigure> CompareLedgerFigures(const QList<OldInstallationTable> &tables, Session &session,
                                           const QString &newFolder);
