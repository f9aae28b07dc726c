#include "store/select_year.h"

#include "base/command_line.h"
#include "base/global_state.h"
#include "base/prompt.h"
#include "base/text_format.h"

#include "base/server_location.h"
#include "store/server_table_backend.h"

#include <QDir>
#include <algorithm>

namespace {

const QString kNoFiscalYearStart = QStringLiteral("01.01");
const QString kLastDayWithoutReminder = QStringLiteral("12.15");

QString MonthAndDay(const QString &todayText)
{
    return todayText.mid(5, 5);
}

// The fiscal-year start as MM.DD, or nullopt when it is missing, not a number or the first of
// January.
std::optional<QString> ParseFiscalYearStart(const std::optional<QString> &raw)
{
    if (!raw)
        return std::nullopt;
    bool monthIsNumber = false;
    bool dayIsNumber = false;
    const int month = raw->mid(0, 2).toInt(&monthIsNumber);
    const int day = raw->mid(3, 2).toInt(&dayIsNumber);
    if (!monthIsNumber || !dayIsNumber)
        return std::nullopt;
    const QString start = FormatPicture(QStringLiteral("99"), month) + u'.'
                          + FormatPicture(QStringLiteral("99"), day);
    if (start == kNoFiscalYearStart)
        return std::nullopt;
    return start;
}

// Before the fiscal-year start the books still belong to the previous year.
void ApplyFiscalYearStart(GlobalState &state, const std::optional<QString> &raw)
{
    const std::optional<QString> start = ParseFiscalYearStart(raw);
    if (start && MonthAndDay(state.TodayText) < *start)
        state.CurrentYear = QString::number(state.CurrentYear.toInt() - 1);
}

bool IsFourDigitYear(const QString &text)
{
    return text.size() == 4 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A year that is no year is never part of a path: the missing-year warning names it, and the
// program goes on in the last year there is (else in the current one).
void RefuseYearArgument(GlobalState &state, const QString &year, Prompt &prompt)
{
    if (!state.YearFolders.isEmpty() && !state.YearFolders.contains(state.CurrentYear))
        state.CurrentYear = state.YearFolders.last();
    prompt.warning(QStringLiteral("Brak otwartego roku : ") + year + u'\r'
                   + QStringLiteral("Rok zostanie zmieniony na : ") + state.CurrentYear);
}

void MoveToExistingYear(GlobalState &state, Prompt &prompt)
{
    if (state.YearFolders.isEmpty() || state.YearFolders.contains(state.CurrentYear))
        return;
    const QString lastYear = state.YearFolders.last();
    prompt.warning(QStringLiteral("Brak otwartego roku : ") + state.CurrentYear + u'\r'
                   + QStringLiteral("Rok zostanie zmieniony na : ") + lastYear);
    state.CurrentYear = lastYear;
}

void RemindOfNewYear(const GlobalState &state, Prompt &prompt)
{
    if (MonthAndDay(state.TodayText) <= kLastDayWithoutReminder || state.YearFolders.isEmpty())
        return;
    const QString nextYear = QString::number(state.TodayText.left(4).toInt() + 1);
    if (state.YearFolders.contains(nextYear))
        return;
    prompt.warning(QStringLiteral("Proszę otworzyć nowy rok ") + nextYear + u'\r'
                   + QStringLiteral("w celu poprawnego działania programu w nowym roku."));
}

}  // namespace

QStringList ListYearFolders(const QString &dataRoot)
{
    if (IsServerPath(dataRoot))
        return ServerTableBackend::years(dataRoot);
    const QFileInfoList entries = QDir(dataRoot).entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    QStringList years;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(u'1') || name.startsWith(u'2'))
            years.append(name);
    }
    std::sort(years.begin(), years.end());
    return years;
}

void SelectYear(GlobalState &state, const QStringList &arguments, const QString &programFolder,
                std::optional<QString> fiscalYearStart, Prompt &prompt, YearSelectionRun run)
{
    if (state.DataRoot.isEmpty())
        state.DataRoot = programFolder;
    state.YearFolders = ListYearFolders(state.DataRoot);

    if (run == YearSelectionRun::FirstOpen) {
        ApplyFiscalYearStart(state, fiscalYearStart);
        if (const std::optional<QString> year = YearFromArguments(arguments)) {
            if (IsFourDigitYear(*year))
                state.CurrentYear = *year;
            else
                RefuseYearArgument(state, *year, prompt);
        }
    }
    state.CommandArgIndex = CommandArgIndexFor(arguments);

    MoveToExistingYear(state, prompt);
    RemindOfNewYear(state, prompt);
}
