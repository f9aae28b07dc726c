#pragma once

#include "store/table.h"

#include <QString>

class Prompt;

// The keys the catalogue is ordered and searched by.
enum class ContractorKey { Number, TaxNumber, ShortName, Town };

// The index of each key: the primary one (""), "Ninx", "Sinx", "Minx".
QString ContractorIndexName(ContractorKey key);

// Contractor numbers run from 1 to 99999 (five digits on every printout and list).
inline constexpr int kHighestContractorNumber = 99999;

// The commands of the contractor catalogue on the contractor table (TKontrah) and its companion
// table of descriptions (TKONTRAHo, linked to it by NR, so it shows the current contractor's rows).
// Every change is on disk when the command returns.
class ContractorCatalogue {
public:
    ContractorCatalogue(Table &contractors, Table &descriptions, Prompt &prompt);

    Table &contractors() const { return contractors_; }
    Table &descriptions() const { return descriptions_; }

    // The description table is opened afresh on the given file each time the catalogue is shown;
    // false (and the table closed) when it is missing or cannot be opened.
    bool openDescriptions(const QString &path);
    bool descriptionsOpen() const;

    // "Ilość pozycji  N".
    QString countText() const;

    // Orders the list by the key's index; a pending edit is stored first.
    void orderBy(ContractorKey key);
    // Orders by the key and moves to the first contractor whose key is at or after the typed text
    // (the last one when none is). Any text is taken: a number search reads the digits typed.
    void search(ContractorKey key, const QString &typed);

    // Stores the pending edit of the current contractor; false when it failed ("Błąd zapisu").
    bool save();

    // A new contractor with the highest number plus one ("00001" in an empty catalogue), stored
    // at once and current. False, after a message, when no number is left or the write failed.
    bool addContractor();

    // Asks "Usuń rekord"; on OK deletes the current contractor with his description row.
    void deleteContractor();

    // The user left the contractor added last (another row, another new one, the window closed):
    // when he still has no name at all, the user is asked whether to remove him.
    void leaveNewContractor();
    // The list's current row moved: leaving the contractor added last counts as above.
    void currentRowChanged();

    // Gives the current contractor the typed number, and his description row with him. Refused,
    // with a message, when the number is no number from 1 to 99999 or another contractor has it.
    bool changeNumber(const QString &typed);

    // Leaving the first full-name line: an empty short name takes its first 20 characters.
    void fillShortName();

    // The texts the catalogue says.
    static QString deleteQuestion();
    static QString unnamedQuestion(const QString &number);
    static QString numberTakenMessage();
    static QString numberOutOfRangeMessage();
    static QString catalogueFullMessage();

private:
    bool storePending();
    void moveDescription(int from, int to);
    void removeCurrent();

    Table &contractors_;
    Table &descriptions_;
    Prompt &prompt_;
    Bookmark newContractor_; // the contractor added last, until the user leaves him
};
