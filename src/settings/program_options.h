#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class Prompt;
class Table;

// The parameter row keeps five choices as one digit each in P2, position 1 first: the numbering
// of documents, how KP and KW are printed, the company stamp, the copy of a settlement, and
// printing at once or previewing first. Each digit is the index of the chosen entry.
constexpr int kProgramOptionCount = 5;
using ProgramOptionChoices = std::array<int, kProgramOptionCount>;

struct ProgramOption {
    QString caption;
    QStringList entries;
};

// The five choices with their captions and entries, in the order of their positions.
const QList<ProgramOption> &ProgramOptions();

// The choices P2 holds. A missing position (P2 empty or short), a blank, or anything that is not
// the index of one of the position's entries means entry 0.
ProgramOptionChoices UnpackProgramOptions(const QString &p2);
// The five digits of the choices, followed by whatever P2 held after its fifth position, so the
// characters other programs may keep there stay as they were.
QString PackProgramOptions(const ProgramOptionChoices &choices, const QString &previous = QString());

// The document number pattern a new installation starts with.
QString DefaultNumberTemplate();

// Before the parameters are shown: an empty number pattern gets the default one (left in edit).
void PrepareProgramParameters(Table &parameters);
// When the parameters window closes: the choices go into P2 when they differ from it, and the
// row is saved. False, after "Błąd zapisu", when the row could not be saved.
bool SaveProgramParameters(Table &parameters, const ProgramOptionChoices &choices, Prompt &prompt);
