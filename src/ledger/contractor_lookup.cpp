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

static bool FindTaxNumberAsTyped(Table &contractors, const QString &text);

bool FindContractorByNumber(Table &contractors, const QString &typed)
{
    const QString text = typed.trimmed();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (text.isEmpty() || !isNumber || !contractors.isOpen())
        return false;
    return contractors.findKey({number});
}

QString TaxNumberDigits(const QString &taxNumber)
{
    QString digits = taxNumber;
    digits.remove(u' ').remove(u'-');
    return digits;
}

// A tax number is written with dashes in different places, or with spaces, or without either:
// when the typed text is not in the catalogue as it stands, the catalogue is compared without
// spaces and dashes.
bool FindContractorByTaxNumber(Table &contractors, const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || !contractors.isOpen())
        return false;
    if (FindTaxNumberAsTyped(contractors, text))
        return true;
    const QString digits = TaxNumberDigits(text);
    if (digits.isEmpty())
        return false;
    const Bookmark before = contractors.bookmark();
    contractors.disableControls();
    const auto enable = qScopeGuard([&] { contractors.enableControls(); });
    for (contractors.first(); !contractors.eof(); contractors.next())
        if (TaxNumberDigits(contractors.asString(QStringLiteral("NIP"))) == digits)
            return true;
    contractors.gotoBookmark(before);
    return false;
}

static bool FindTaxNumberAsTyped(Table &contractors, const QString &text)
{
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
