#include "ledger/contractor_lookup.h"

#include "ledger/row_posting.h"
#include "store/table.h"

#include <QScopeGuard>
#include <array>
#include <utility>

namespace {

const QString kTaxNumberOrder = QStringLiteral("Ninx");

constexpr std::array<std::pair<const char *, const char *>, 7> kContractorToHeader{{
    {"NR", "ONR"},
    {"NAZWA1", "ONAZ1"},
    {"NAZWA2", "ONAZ2"},
    {"KOD", "OKOD"},
    {"MIEJSC", "OMIEJSC"},
    {"UL", "OUL"},
    {"NIP", "ONIP"},
}};

} // namespace

bool FindContractorByNumber(Table &contractors, const QString &typed)
{
    const QString text = typed.trimmed();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (text.isEmpty() || !isNumber || !contractors.isOpen())
        return false;
    return contractors.findKey({number});
}

bool FindContractorByTaxNumber(Table &contractors, const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || !contractors.isOpen())
        return false;
    const QString order = contractors.indexName();
    const QString orderFields = contractors.indexFieldNames();
    const auto restore = qScopeGuard([&] {
        if (!orderFields.isEmpty())
            contractors.setIndexFieldNames(orderFields);
        else if (contractors.indexName() != order)
            contractors.setIndexName(order);
    });
    if (order != kTaxNumberOrder || !orderFields.isEmpty())
        contractors.setIndexName(kTaxNumberOrder);
    return contractors.findKey({text});
}

void CopyContractorIntoHeader(const Table &contractors, Table &header, Prompt &prompt)
{
    EditRow(header);
    for (const auto &[from, to] : kContractorToHeader)
        header.setString(QString::fromLatin1(to), contractors.asString(QString::fromLatin1(from)));
    PostRow(header, prompt);
}
