#include "print/document_number_text.h"

#include "ledger/document_kinds.h"
#include "ledger/ledger_parameters.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_tables.h"
#include "ledger/number_template.h"
#include "print/listed_documents.h"

namespace {

constexpr char16_t kFirstStandIn = 0xE000;
constexpr char16_t kLastStandIn = 0xF8FF;

bool IsStandIn(QChar c)
{
    return c.unicode() >= kFirstStandIn && c.unicode() <= kLastStandIn;
}

} // namespace

DocumentNumberText::DocumentNumberText(const LedgerTables &tables, const ListedDocuments &documents)
{
    const QString marking = CurrentReportMarking(tables);
    filled_ = Dek(NumberTemplateOf(tables.TPARA), [&](const QString &name) -> std::optional<QString> {
        if (name == QStringLiteral("OZNACZENIE"))
            return marking;
        const int position = name.isEmpty() ? -1 : documents.fieldPosition(name);
        if (position < 0 || fields_.size() > kLastStandIn - kFirstStandIn)
            return std::nullopt;
        fields_.append(position);
        return QString(QChar(char16_t(kFirstStandIn + fields_.size() - 1)));
    });
}

QString DocumentNumberText::of(const ListedDocument &document) const
{
    const QString kind = document.kind();
    if (kind == DocumentKind::KPD || kind == DocumentKind::KWD)
        return document.typedNumber();
    QString number;
    number.reserve(filled_.size() + 16);
    for (QChar c : filled_) {
        if (IsStandIn(c))
            number += document.textAt(fields_.at(c.unicode() - kFirstStandIn));
        else
            number += c;
    }
    return number;
}
