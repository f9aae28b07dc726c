#include "print/document_print_texts.h"

#include "base/text_format.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_queries.h"
#include "store/table.h"

#include <QScopeGuard>

namespace {

bool IsAdvanceKind(const QString &kind)
{
    return kind == DocumentKind::RZ || kind == DocumentKind::WZ;
}

} // namespace

std::optional<CurrencyUnitNames> ForeignCurrencyOf(const QString &deskCurrencyCode, const Table &currencies)
{
    const QString code = deskCurrencyCode.trimmed();
    if (code.isEmpty() || !currencies.isOpen())
        return std::nullopt;
    // A view of its own, so the dictionary's window does not move.
    Table view(*currencies.session());
    view.setTableName(currencies.tableName());
    view.open();
    if (!view.locate(QStringLiteral("WALUTA"), code))
        return std::nullopt;
    auto name = [&](const char *field) { return view.asString(QString::fromLatin1(field)); };
    return CurrencyUnitNames{name("Z1"), name("Z2"), name("Z3"), name("G1"), name("G2"), name("G3")};
}

DocumentAmountTexts PrepareAmountTexts(const QString &kind, Money amount,
                                       const std::optional<CurrencyUnitNames> &foreignCurrency)
{
    DocumentAmountTexts texts;
    const Money absolute = amount.isNegative() ? -amount : amount;
    texts.amountWords = KwotaSlownie(false, true, absolute, foreignCurrency.value_or(CurrencyUnitNames{})).value_or(QString());
    if (foreignCurrency) {
        texts.wordsLabel = QStringLiteral("Słownie ") + foreignCurrency->z3 + QStringLiteral(" :");
        texts.unitCaption = IsAdvanceKind(kind) ? QStringLiteral("Kwota ") + foreignCurrency->z1
                                                : foreignCurrency->z3 + QStringLiteral("  ,  ") + foreignCurrency->g3;
    } else {
        texts.wordsLabel = QStringLiteral("Słownie złotych :");
        texts.unitCaption = IsAdvanceKind(kind) ? QStringLiteral("Kwota zł") : QStringLiteral("złoty  ,  groszy");
    }
    return texts;
}

QString PositionAmountText(const QString &kind, Money amount)
{
    const QString picture = IsAdvanceKind(kind) ? QStringLiteral("###########9,99") : QStringLiteral("### ### ### ##9 , 99");
    return FormatPicture(picture, amount.roundedTo2().toDouble());
}

QList<PositionRow> ReadPositionTable(Table &positions, const QString &kind)
{
    QList<PositionRow> rows;
    if (!positions.isOpen())
        return rows;
    const Bookmark current = positions.bookmark();
    positions.disableControls();
    const auto giveBack = qScopeGuard([&] {
        Guarded([&] {
            if (current.isValid() && positions.bookmark() != current)
                positions.gotoBookmark(current);
        });
        Guarded([&] { positions.enableControls(); });
    });
    // A settlement's and a request's header row is not one of its positions.
    const bool linesOnly = IsAdvanceKind(kind) && positions.hasField(QStringLiteral("GLOWKA"));
    for (positions.first(); !positions.eof() && rows.size() < kMaxPositionRows; positions.next()) {
        if (linesOnly && positions.asBoolean(QStringLiteral("GLOWKA")))
            continue;
        rows.append({positions.asString(QStringLiteral("TYT1")),
                     PositionAmountText(kind, positions.asMoney(QStringLiteral("KWOTAP"))),
                     positions.asString(QStringLiteral("KONTO"))});
    }
    return rows;
}
