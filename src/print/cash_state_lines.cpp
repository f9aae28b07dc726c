#include "print/cash_state_lines.h"

#include "base/text_format.h"

namespace CashStateLines {

namespace {

constexpr int kWidth = 89;

QString StatePicture(const QString &mask, Money amount)
{
    return FormatPicture(mask, amount.roundedTo2().toDouble());
}

} // namespace

QString Ruling()
{
    return RepeatChar(u'=', kWidth);
}

QString Heading()
{
    return QStringLiteral("| SYMBOL | Nazwa Kasy                                        | Stan Kasy                |");
}

QString Separator()
{
    return QStringLiteral("|--------|---------------------------------------------------|--------------------------|");
}

QString Desk(const QString &symbol, const QString &name, Money state, const QString &currencyCode)
{
    return QStringLiteral("| ") + PadRight(symbol, 5) + QStringLiteral("  | ") + PadRight(name, 50)
           + StatePicture(QStringLiteral("| ### ### ### ##9 , 99 "), state) + PadRight(currencyCode, 3)
           + QStringLiteral(" |");
}

QString Total(Money total, const QString &currencyCode)
{
    return QStringLiteral("| RAZEM  |                                                   |")
           + StatePicture(QStringLiteral(" ### ### ### ##9 , 99 "), total) + PadRight(currencyCode, 3)
           + QStringLiteral(" |");
}

} // namespace CashStateLines
