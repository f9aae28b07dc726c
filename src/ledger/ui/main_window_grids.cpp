#include "ledger/ui/main_window_grids.h"

#include "ledger/date_input.h"
#include "ledger/document_kinds.h"
#include "store/table.h"

namespace {

constexpr int kNameWidthWithAccount = 150;
constexpr int kNameWidthWithoutAccount = 230;

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

QList<GridColumn> DeskSelectorColumns()
{
    return {{S("SYMBOL"), {}, 60}, {S("NAZWA"), {}, 220}};
}

QList<GridColumn> ReportGridColumns()
{
    return {
        {S("NUMER"), {}, 50},
        {S("OZNACZENIE"), {}, 83},
        {S("DATAOD"), S("DATA OD"), 0, {}, true, false, {}, false, DateInputProblem},
        {S("DATADO"), S("DATA DO"), 0, {}, true, false, {}, false, DateInputProblem},
        {S("BOWARTOSC"), S("Stan Początkowy"), 108, S("WARTOŚĆ")},
        {S("BZWARTOSC"), S("Stan Końcowy"), 104, S("WARTOŚĆ")},
        {S("TZAMKNIETY"), S("Stan"), 71},
        {S("OSOBA"), S("Zamykający"), 100},
    };
}

QList<GridColumn> DocumentGridColumns(bool accountsOnReport)
{
    QList<GridColumn> columns{
        {S("POZ"), {}, 38},
        {S("DOWOD"), S("NUMER"), 100}, // a number from a template: "KP/034/2026"
        {S("DATA"), {}, 0, {}, true, false, {}, false, DateInputProblem},
        {S("ONAZ1"), S("Komu"), 190},
        {S("TYT1"), S("Za co"), kNameWidthWithAccount},
        {S("KWOTA"), {}, 80},
        {S("KONTO"), {}},
    };
    columns[4].width = accountsOnReport ? kNameWidthWithAccount : kNameWidthWithoutAccount;
    columns[6].visible = accountsOnReport;
    columns[1].readOnly = true; // computed from the template or A1
    return columns;
}

bool AccountsOnReport(const Table &parameters)
{
    return parameters.isOpen() && !parameters.isEmpty() && parameters.asBoolean(QStringLiteral("B3"));
}

void ShowAccountsOnReport(TableModel &documents, bool accountsOnReport)
{
    documents.setColumnWidth(QStringLiteral("TYT1"), accountsOnReport ? kNameWidthWithAccount : kNameWidthWithoutAccount);
    documents.setColumnVisible(QStringLiteral("KONTO"), accountsOnReport);
}

std::optional<QColor> ReportCellColour(const Table &report, const QString &field)
{
    if (field == QStringLiteral("TZAMKNIETY") && report.asBoolean(QStringLiteral("ZAMKNIETY")))
        return kClosedReportColour;
    if (field == QStringLiteral("BZWARTOSC") && report.asMoney(QStringLiteral("BZWARTOSC")).isNegative())
        return kNegativeBalanceColour;
    return std::nullopt;
}

std::optional<QColor> DocumentCellColour(const Table &document, const QString &field)
{
    if (field != QStringLiteral("POZ") && field != QStringLiteral("DOWOD") && field != QStringLiteral("KWOTA"))
        return std::nullopt;
    const QString kind = document.asString(QStringLiteral("RD"));
    const bool settlementPaysOut = kind == DocumentKind::RZ && document.asString(QStringLiteral("OKOD")) == kSettlementPayOut;
    if (kind == DocumentKind::KW || kind == DocumentKind::KWD || kind == DocumentKind::WZ || settlementPaysOut)
        return kPayoutColour;
    return std::nullopt;
}
