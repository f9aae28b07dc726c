#include "maintenance/archive_reminder.h"

#include "base/prompt.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"

#include <QDate>

namespace {

const QString kArchiveDate = QStringLiteral("ARCHDATA");
const QString kReminderDays = QStringLiteral("ARCHDNI");
constexpr int kDefaultReminderDays = 3;
constexpr int kArchiveDateLength = 10;

QDate DayOf(const QString &text)
{
    bool yearOk = false;
    bool monthOk = false;
    bool dayOk = false;
    const int year = text.mid(0, 4).toInt(&yearOk);
    const int month = text.mid(5, 2).toInt(&monthOk);
    const int day = text.mid(8, 2).toInt(&dayOk);
    if (!yearOk || !monthOk || !dayOk)
        return {};
    return QDate(year, month, day);
}

} // namespace

int ArchiveDayCount(const QString &archiveDate, const QString &todayText)
{
    const QDate from = DayOf(archiveDate);
    const QDate to = DayOf(todayText);
    if (!from.isValid() || !to.isValid())
        return 0;
    return int(from.daysTo(to));
}

void SPRAWDZ(Table &company, Prompt &prompt, const QString &todayText, const std::function<void()> &showArchiveWindow)
{
    if (!company.isOpen() || company.isEmpty())
        return;
    if (company.isNull(kReminderDays)) {
        EnsureEditing(company);
        company.setInteger(kReminderDays, kDefaultReminderDays);
        PostAndFlush(company, prompt);
    }
    if (company.asString(kArchiveDate).size() != kArchiveDateLength) {
        EnsureEditing(company);
        company.setString(kArchiveDate, todayText);
        PostAndFlush(company, prompt);
    }
    const int days = ArchiveDayCount(company.asString(kArchiveDate), todayText);
    const int interval = company.asInteger(kReminderDays);
    if (interval <= 0 || days < interval)
        return;
    const QString question = QStringLiteral("Minęły ") + QString::number(days)
                             + QStringLiteral(" od ostatniej aktualizacji ARCHIWUM.") + u'\r'
                             + QStringLiteral("Czy chcesz zarchiwować dane ?");
    if (prompt.show(PromptIcon::Warning, question, Yes | No) == Yes && showArchiveWindow)
        showArchiveWindow();
}
