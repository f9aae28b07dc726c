#include "contractors/contractor_catalogue.h"

#include "base/prompt.h"
#include "base/text_format.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"
#include "store/transaction_scope.h"

#include <QScopeGuard>
#include <algorithm>

namespace {

const QString kNumber = QStringLiteral("NR");
const QString kShortName = QStringLiteral("SKROT");
const QString kFirstName = QStringLiteral("NAZWA1");
constexpr int kShortNameSize = 20;

// Two workstations may add at the same moment: the one that loses the number takes the next.
constexpr int kNumberAttempts = 5;

bool Editing(const Table &table)
{
    return table.isOpen() && (table.state() == TableState::Edit || table.state() == TableState::Insert);
}

// The number a search text stands for: its digits, as far as they go; nullopt without any.
std::optional<qint64> TypedNumber(const QString &typed)
{
    QString digits;
    for (const QChar c : typed.trimmed()) {
        if (!c.isDigit())
            break;
        digits.append(c);
    }
    if (digits.isEmpty())
        return std::nullopt;
    if (digits.size() > 9) // far beyond any contractor number
        return qint64(kHighestContractorNumber) + 1;
    return digits.toLongLong();
}

} // namespace

QString ContractorIndexName(ContractorKey key)
{
    switch (key) {
    case ContractorKey::Number:
        return QString();
    case ContractorKey::TaxNumber:
        return QStringLiteral("Ninx");
    case ContractorKey::ShortName:
        return QStringLiteral("Sinx");
    case ContractorKey::Town:
        return QStringLiteral("Minx");
    }
    return QString();
}

ContractorCatalogue::ContractorCatalogue(Table &contractors, Table &descriptions, Prompt &prompt)
    : contractors_(contractors)
    , descriptions_(descriptions)
    , prompt_(prompt)
{
}

QString ContractorCatalogue::unnamedQuestion(const QString &number)
{
    return QStringLiteral("Kontrahent nr %1 nie ma nazwy.\rUsunąć go z katalogu ?").arg(number);
}

QString ContractorCatalogue::deleteQuestion()
{
    return QStringLiteral("Usuń rekord");
}

QString ContractorCatalogue::numberTakenMessage()
{
    return QStringLiteral("W katalogu kontrahentów istnieje kontrahent o tym numerze\rBrak możliwości zmiany.");
}

QString ContractorCatalogue::numberOutOfRangeMessage()
{
    return QStringLiteral("Numer kontrahenta musi być liczbą od 1 do 99999.\rBrak możliwości zmiany.");
}

QString ContractorCatalogue::catalogueFullMessage()
{
    return QStringLiteral("W katalogu jest już kontrahent o numerze 99999.\rNie można nadać następnego numeru.");
}

bool ContractorCatalogue::openDescriptions(const QString &path)
{
    descriptions_.close();
    descriptions_.setTableName(path);
    if (!descriptions_.exists())
        return false;
    try {
        descriptions_.open();
    } catch (const EngineError &) {
        descriptions_.close();
        return false;
    }
    return true;
}

bool ContractorCatalogue::descriptionsOpen() const
{
    return descriptions_.isOpen();
}

QString ContractorCatalogue::countText() const
{
    const int count = contractors_.isOpen() ? contractors_.recordCount() : 0;
    return QStringLiteral("Ilość pozycji  ") + QString::number(count);
}

bool ContractorCatalogue::storePending()
{
    return PostAndFlush(contractors_, prompt_);
}

bool ContractorCatalogue::save()
{
    return storePending();
}

void ContractorCatalogue::orderBy(ContractorKey key)
{
    if (!contractors_.isOpen() || !storePending())
        return;
    const QString index = ContractorIndexName(key);
    if (contractors_.indexName() != index || !contractors_.indexFieldNames().isEmpty())
        contractors_.setIndexName(index);
}

void ContractorCatalogue::search(ContractorKey key, const QString &typed)
{
    if (!contractors_.isOpen() || !storePending())
        return;
    orderBy(key);
    if (key == ContractorKey::Number) {
        const std::optional<qint64> number = TypedNumber(typed);
        if (!number)
            contractors_.first();
        else if (*number > kHighestContractorNumber)
            contractors_.last();
        else
            contractors_.findNearest({*number});
        return;
    }
    if (typed.isEmpty()) {
        contractors_.first();
        return;
    }
    // A text longer than the field stands for its first characters: the keys hold no more.
    contractors_.findNearest({typed});
}

bool ContractorCatalogue::addContractor()
{
    if (!contractors_.isOpen() || !storePending())
        return false;
    leaveNewContractor();
    orderBy(ContractorKey::Number);
    for (int attempt = 0; attempt < kNumberAttempts; ++attempt) {
        contractors_.refresh();
        contractors_.last();
        const int highest = contractors_.isEmpty() ? 0 : std::max(0, contractors_.asInteger(kNumber));
        if (highest >= kHighestContractorNumber) {
            prompt_.warning(catalogueFullMessage());
            return false;
        }
        contractors_.append();
        contractors_.setString(kNumber, FormatPicture(QStringLiteral("99999"), highest + 1));
        try {
            contractors_.post();
            newContractor_ = contractors_.bookmark();
            return true;
        } catch (const EngineError &error) {
            contractors_.cancel();
            if (error.kind() != EngineErrorKind::KeyViolation)
                break;
        }
    }
    prompt_.error(QStringLiteral("Błąd zapisu"));
    return false;
}

void ContractorCatalogue::deleteContractor()
{
    if (prompt_.show(PromptIcon::Warning, deleteQuestion(), Ok | Cancel) != Ok)
        return;
    if (!contractors_.isOpen() || !storePending() || contractors_.isEmpty())
        return;
    removeCurrent();
}

// A contractor added and left without any name is not kept without a word: the user is asked
// whether he goes. The rows shown stay where the user put them.
void ContractorCatalogue::leaveNewContractor()
{
    const Bookmark added = std::exchange(newContractor_, Bookmark());
    if (!added.isValid() || !contractors_.isOpen() || Editing(contractors_))
        return;
    const Bookmark shown = contractors_.bookmark();
    const bool elsewhere = shown != added;
    if (elsewhere && !contractors_.gotoBookmark(added))
        return;
    const auto back = qScopeGuard([&] {
        try {
            if (elsewhere)
                contractors_.gotoBookmark(shown);
        } catch (const EngineError &) {
        }
    });
    for (const QString &field : {kFirstName, QStringLiteral("NAZWA2"), kShortName})
        if (!contractors_.asString(field).trimmed().isEmpty())
            return;
    const QString number = FormatPicture(QStringLiteral("99999"), contractors_.asInteger(kNumber));
    if (prompt_.show(PromptIcon::Question, unnamedQuestion(number), Yes | No) == Yes)
        removeCurrent();
}

void ContractorCatalogue::currentRowChanged()
{
    if (newContractor_.isValid() && contractors_.isOpen() && contractors_.bookmark() != newContractor_)
        leaveNewContractor();
}

void ContractorCatalogue::removeCurrent()
{
    if (Editing(descriptions_))
        descriptions_.cancel();
    // The description goes first: should the contractor's delete not reach the disk, he only
    // lacks his description, and no description is left behind for a later contractor.
    TransactionScope scope;
    if (descriptions_.isOpen()) {
        descriptions_.refresh();
        if (!descriptions_.isEmpty()) {
            descriptions_.first();
            descriptions_.deleteRow();
        }
    }
    contractors_.deleteRow();
    scope.commit();
}

bool ContractorCatalogue::changeNumber(const QString &typed)
{
    if (!contractors_.isOpen() || contractors_.isEmpty() || !storePending())
        return false;
    if (Editing(descriptions_) && !PostAndFlush(descriptions_, prompt_))
        return false;
    bool isNumber = false;
    const int number = typed.trimmed().toInt(&isNumber);
    if (!isNumber || number < 1 || number > kHighestContractorNumber) {
        prompt_.information(numberOutOfRangeMessage());
        return false;
    }
    const int old = contractors_.asInteger(kNumber);
    if (number == old)
        return true;

    const Bookmark row = contractors_.bookmark();
    const QString index = contractors_.indexName();
    const QString indexFields = contractors_.indexFieldNames();
    const bool filtered = contractors_.filtered();
    const auto restore = qScopeGuard([&] {
        try {
            if (!indexFields.isEmpty())
                contractors_.setIndexFieldNames(indexFields);
            else if (contractors_.indexName() != index)
                contractors_.setIndexName(index);
            contractors_.setFiltered(filtered);
            contractors_.gotoBookmark(row);
        } catch (const EngineError &) {
        }
    });
    if (!indexFields.isEmpty() || !index.isEmpty())
        contractors_.setIndexName(QString());
    contractors_.setFiltered(false);

    if (contractors_.findKey({number})) {
        // The list is back on the contractor while the user reads why.
        contractors_.gotoBookmark(row);
        prompt_.information(numberTakenMessage());
        return false;
    }
    contractors_.gotoBookmark(row);
    try {
        TransactionScope scope;
        contractors_.edit();
        contractors_.setInteger(kNumber, number);
        contractors_.post();
        moveDescription(old, number);
        scope.commit();
    } catch (const EngineError &error) {
        if (Editing(contractors_))
            contractors_.cancel();
        // Another workstation took the number between the look-up and the write.
        if (error.kind() != EngineErrorKind::KeyViolation)
            throw;
        prompt_.information(numberTakenMessage());
        return false;
    }
    if (descriptions_.isOpen())
        descriptions_.refresh();
    return true;
}

// The description row is keyed by the number, so it moves with the contractor.
void ContractorCatalogue::moveDescription(int from, int to)
{
    if (!descriptions_.isOpen())
        return;
    Table rows(*descriptions_.session());
    rows.setTableName(descriptions_.filePath());
    rows.open();
    // A row at the new number belongs to no contractor (the number was free); it goes, so the
    // contractor does not take over a description that was never his.
    if (rows.findKey({to}))
        rows.deleteRow();
    if (rows.findKey({from})) {
        rows.edit();
        rows.setInteger(kNumber, to);
        rows.post();
    }
}

void ContractorCatalogue::fillShortName()
{
    if (!contractors_.isOpen() || contractors_.isEmpty())
        return;
    if (!contractors_.asString(kShortName).trimmed().isEmpty())
        return;
    const QString name = contractors_.asString(kFirstName);
    if (name.trimmed().isEmpty())
        return;
    EnsureEditing(contractors_);
    contractors_.setString(kShortName, name.left(kShortNameSize));
}
