#include "ledger/ledger_parameters.h"

#include "store/table.h"

namespace {

QString Parameter(const Table &parameters, const char *field)
{
    if (!parameters.isOpen())
        return {};
    return parameters.asString(QString::fromLatin1(field));
}

} // namespace

NumberingScope NumberingScopeOf(const Table &parameters)
{
    const QString options = Parameter(parameters, "P2");
    if (options.startsWith(QLatin1Char('2')))
        return NumberingScope::AllDesks;
    if (options.startsWith(QLatin1Char('1')))
        return NumberingScope::Report;
    return NumberingScope::Year;
}

QString NumberTemplateOf(const Table &parameters)
{
    const QString pattern = Parameter(parameters, "P1");
    return pattern.trimmed().isEmpty() ? QStringLiteral("[RD] [NRD]") : pattern;
}
