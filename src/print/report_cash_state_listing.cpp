#include "print/report_cash_state_listing.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/small_dialogs.h"
#include "print/cash_state_lines.h"
#include "print/listing_context.h"
#include "print/listing_job.h"
#include "print/listing_text.h"
#include "store/table.h"

#include <QScopeGuard>
#include <optional>

namespace {

// lastDay: the stored date (yyyy.mm.dd) documents must not be later than; nothing for no limit.
Money StateAtSelectedDocument(Table &documents, Money opening, const std::optional<QString> &lastDay,
                              ListingJob &job)
{
    const Bookmark selected = documents.bookmark();
    Money state = opening;
    for (documents.first(); !documents.eof(); documents.next()) {
        job.step();
        if (lastDay && documents.asString(QStringLiteral("DATA")) > *lastDay)
            continue;
        state += SignedAmount(documents.asString(QStringLiteral("RD")), documents.asString(QStringLiteral("OKOD")),
                              documents.asMoney(QStringLiteral("KWOTA")));
        if (documents.bookmark() == selected)
            break;
    }
    return state;
}

void PrintReportState(ListingContext &context, const QString &titleLine, const std::optional<QString> &lastDay)
{
    const LedgerTables &t = context.ledger.tables;
    if (!HasRows(t.TNAG))
        return;
    Table &documents = t.TNAG;
    const Bookmark selected = documents.bookmark();
    documents.disableControls();
    const auto giveBack = qScopeGuard([&] {
        Guarded([&] {
            if (selected.isValid() && documents.bookmark() != selected)
                documents.gotoBookmark(selected);
        });
        Guarded([&] { documents.enableControls(); });
    });

    ListingJob job(context.druk, QStringLiteral("Raport stanu kasy"), documents.recordCount());
    job.line(titleLine);
    job.line(QString());
    job.line(CashStateLines::Ruling());
    job.line(CashStateLines::Heading());
    job.line(CashStateLines::Separator());
    const Money state = StateAtSelectedDocument(documents, t.TRKASA.asMoney(QStringLiteral("BOWARTOSC")), lastDay, job);
    job.line(CashStateLines::Desk(t.TKASA.asString(QStringLiteral("SYMBOL")), t.TKASA.asString(QStringLiteral("NAZWA")),
                                  state, t.TKASA.asString(QStringLiteral("A2"))));
    job.line(CashStateLines::Ruling());
    job.line(QString());
    job.finish();
}

} // namespace

void StanKasyDoDokumentu(ListingContext &context)
{
    const QString titleLine = QStringLiteral("Raport stanu kasy.    data : ") + context.ledger.state.TodayText
                              + QStringLiteral("    godzina : ") + ListingClockText(context.ledger.clock.now().time());
    Guarded([&] { PrintReportState(context, titleLine, std::nullopt); });
}

void StanKasyNaDzien(ListingContext &context, QDate day)
{
    if (!day.isValid())
        return;
    Guarded([&] {
        PrintReportState(context, QStringLiteral("Raport stanu kasy na dzień: ") + TypedDate(day), StoredDate(day));
    });
}

void StanKasyNaDzien(ListingContext &context, CashStateDateDialog &dialog)
{
    const std::optional<QDate> day = dialog.askDay(ProgramToday(context.ledger.state, context.ledger.clock));
    if (day)
        StanKasyNaDzien(context, *day);
}
