#include "print/control_tokens.h"

#include <array>
#include <utility>

namespace {

const QString kEject = QStringLiteral("&W");

const std::array<std::pair<QString, Density>, 3> kDensityTokens{{
    {QStringLiteral("&G"), Density::Condensed},
    {QStringLiteral("&N"), Density::Normal},
    {QStringLiteral("&R"), Density::Wide},
}};

}  // namespace

bool StartsWithEject(const QString &line)
{
    return line.startsWith(kEject);
}

Density TakeDensityTokens(QString &line, Density current)
{
    for (const auto &[token, density] : kDensityTokens) {
        if (line.startsWith(token)) {
            line.remove(0, token.size());
            current = density;
        }
    }
    return current;
}

Density DensityOfLine(QString &line, Density current, TRODZAJ rodzaj)
{
    const Density own = TakeDensityTokens(line, current);
    switch (rodzaj) {
    case drGESTY: return Density::Condensed;
    case drNORMALNY: return Density::Normal;
    case drROZSZCZELONY: return Density::Wide;
    case drAUTO: break;
    }
    return own;
}

QString WithoutControlToken(const QString &line)
{
    if (StartsWithEject(line))
        return line.mid(kEject.size());
    for (const auto &entry : kDensityTokens) {
        if (line.startsWith(entry.first))
            return line.mid(entry.first.size());
    }
    return line;
}
