#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class Session;

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
// balances and turnover; per document kind the number of documents and their total. Gathered
// row by row from each year's report table and document table, as they are read.
class LedgerFigures {
public:
    enum class Source { None, Reports, Documents };

    LedgerFigures();
    ~LedgerFigures();
    LedgerFigures(LedgerFigures &&) noexcept;
    LedgerFigures &operator=(LedgerFigures &&) noexcept;

    // Which of a year's tables ("KASA/RKASA.DB", names compared without regard to case) gives
    // figures, and the fields its rows give them from, in this order.
    static Source sourceOf(const QString &relativeToYear);
    static const QStringList &fieldsOf(Source source);

    // A row's values of fieldsOf(source) (invalid where the table lacks a field): as the old
    // file gives them or as the program reads the new table.
    void add(const QString &year, Source source, const QList<QVariant> &values);

    // The figures, per year, as labelled values (each in oldValue) in a fixed order.
    QList<ComparedFigure> lines() const;

private:
    struct Years;
    std::unique_ptr<Years> years_;
};

// The figures of the new tables of the years, below folder at their relative paths. Throws
// EngineError when a table cannot be read.
LedgerFigures ReadLedgerFigures(Session &session, const QString &folder, const QStringList &years);

// The figures of both sides side by side (a figure only one side has shows empty on the other).
QList<ComparedFigure> CompareLedgerFigures(const LedgerFigures &old, const LedgerFigures &converted);
