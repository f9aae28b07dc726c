#include "base/date_state.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "base/text_format.h"

void InitDateState(GlobalState &state, const Clock &clock)
{
    const QDate today = clock.today();
    state.TodayText = FormatPicture(QStringLiteral("9999"), today.year()) + u'.'
                      + FormatPicture(QStringLiteral("99"), today.month()) + u'.'
                      + FormatPicture(QStringLiteral("99"), today.day());
    state.CurrentYear = state.TodayText.mid(0, 4);
    state.CurrentMonth = state.TodayText.mid(5, 2);
}
