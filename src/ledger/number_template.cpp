#include "ledger/number_template.h"

QString Dek(const QString &pattern, const std::function<std::optional<QString>(const QString &name)> &lookup)
{
    QString result;
    bool insideBrackets = false;
    qsizetype nameStart = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'[') {
            insideBrackets = true;
            nameStart = i + 1;
        } else if (c == u']') {
            const QString name = nameStart < 0 ? QString() : pattern.mid(nameStart, i - nameStart);
            if (const std::optional<QString> text = lookup(name)) {
                result += *text;
                insideBrackets = false;
            }
        } else if (!insideBrackets) {
            result += c;
        }
    }
    return result;
}
