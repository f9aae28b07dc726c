#include "users/network_user_name.h"

#include <QTextBoundaryFinder>

namespace {

// The room the users table gives a login.
constexpr int kLoginLength = 10;

} // namespace

QString NetworkUserName(const QString &systemUserName)
{
    QString name = systemUserName;
    if (const qsizetype nul = name.indexOf(QChar(u'\0')); nul >= 0)
        name.truncate(nul);
    if (name.size() <= kLoginLength)
        return name;
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, name);
    qsizetype end = 0;
    for (qsizetype next = letters.toNextBoundary(); next > 0 && next <= kLoginLength; next = letters.toNextBoundary())
        end = next;
    return name.left(end);
}
