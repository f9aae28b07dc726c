#pragma once

#include <QString>
#include <QStringList>

struct LedgerContext;
class Table;

// The rules of the small dictionaries: accounts need numbers of their own, and a description is
// stored under the kind the description view shows.
class DictionaryRules {
public:
    explicit DictionaryRules(LedgerContext &context);
    ~DictionaryRules();
    DictionaryRules(const DictionaryRules &) = delete;
    DictionaryRules &operator=(const DictionaryRules &) = delete;

private:
    LedgerContext &context_;
};

// "Opis wpłaty" (KP) and "Opis wypłaty" (KW): the caption of the description window.
QString DescriptionDictionaryCaption(const QString &currentKind);

// The lists the windows offer, in table order: account numbers (KOD), currency codes (WALUTA),
// description names (NAZWA of the kind's descriptions). The table keeps its current row.
QStringList FieldValues(Table &table, const QString &field);
