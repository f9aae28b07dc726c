#include "ledger/dictionary_rules.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "store/table.h"

#include <QScopeGuard>

DictionaryRules::DictionaryRules(LedgerContext &context)
    : context_(context)
{
    context_.tables.TKONTA.events.onPostError = [this](Table &, const EngineError &error) {
        if (error.kind() != EngineErrorKind::KeyViolation)
            return PostErrorAction::Fail;
        context_.prompt.beep();
        context_.prompt.warning(QStringLiteral("To KONTO już istnieje, wprowadź inne konto."));
        return PostErrorAction::Abort;
    };
    // The kind as the view filters it, so a new description stays in the view it was added to.
    context_.tables.TSLO.events.onNewRow = [this](Table &descriptions) {
        descriptions.setString(QStringLiteral("RD"), context_.state.BiezacyRD.left(2));
    };
}

DictionaryRules::~DictionaryRules()
{
    context_.tables.TKONTA.events = TableEvents{};
    context_.tables.TSLO.events = TableEvents{};
}

QString DescriptionDictionaryCaption(const QString &currentKind)
{
    return currentKind == QStringLiteral("KP") ? QStringLiteral("Słownik opisu wpłaty")
                                               : QStringLiteral("Słownik opisu wypłaty");
}

QStringList FieldValues(Table &table, const QString &field)
{
    QStringList values;
    if (!table.isOpen())
        return values;
    const Bookmark current = table.bookmark();
    table.disableControls();
    const auto restore = qScopeGuard([&] {
        Guarded([&] {
            if (current.isValid())
                table.gotoBookmark(current);
        });
        Guarded([&] { table.enableControls(); });
    });
    for (table.first(); !table.eof(); table.next())
        values.append(table.asString(field));
    return values;
}
