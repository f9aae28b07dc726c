#include "print/print_options.h"

#include "store/table.h"

QChar PrintOption(const Table &parameters, int position)
{
    if (!parameters.isOpen() || position < 1)
        return u' ';
    const QString options = parameters.asString(QStringLiteral("P2"));
    return position <= options.size() ? options.at(position - 1) : QChar(u' ');
}

bool PrintsDocumentsAsText(const Table &parameters)
{
    return PrintOption(parameters, 2) == u'3';
}

bool PrintsCompanyStamp(const Table &parameters)
{
    return PrintOption(parameters, 3) == u'1';
}
