#include "base/server_location.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

constexpr QLatin1StringView kPrefix("pg:");

bool IsAddress(const QString &text)
{
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
           || text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString Escaped(const QString &address)
{
    return QString::fromLatin1(address.toUtf8().toPercentEncoding("@=&.-_~", "/?%:"));
}

// The address as messages show it: no password.
QString AddressShown(const QString &address)
{
    QUrl url(address);
    if (!url.isValid())
        return address;
    url.setPassword(QString());
    return url.toString();
}

} // namespace

bool IsServerPath(const QString &path)
{
    return path.startsWith(kPrefix, Qt::CaseInsensitive) || IsAddress(path);
}

std::optional<QString> ServerDataRoot(const QString &given)
{
    const QString text = given.trimmed();
    if (IsAddress(text)) {
        // A database must be named: "postgresql:///kasa?host=/run/kasa".
        const QUrl url(text);
        if (!url.isValid() || url.path().size() < 2)
            return std::nullopt;
        return kPrefix + Escaped(text) + u'/';
    }
    if (!text.startsWith(kPrefix, Qt::CaseInsensitive))
        return std::nullopt;
    QString rest = text.mid(kPrefix.size());
    while (rest.endsWith(u'/') || rest.endsWith(u'\\'))
        rest.chop(1);
    if (rest.isEmpty() || rest.contains(u'/') || rest.contains(u'\\'))
        return std::nullopt;
    return kPrefix + rest + u'/';
}

std::optional<ServerTableAddress> ParseServerTablePath(const QString &path)
{
    QString text = path;
    text.replace(u'\\', u'/');
    if (IsAddress(text)) {
        // An address given where a path was expected: its database and nothing below it.
        const std::optional<QString> root = ServerDataRoot(text);
        if (!root)
            return std::nullopt;
        text = *root;
    }
    if (!text.startsWith(kPrefix, Qt::CaseInsensitive))
        return std::nullopt;
    text = text.mid(kPrefix.size());
    const qsizetype slash = text.indexOf(u'/');
    const QString server = slash < 0 ? text : text.left(slash);
    if (server.isEmpty())
        return std::nullopt;
    QStringList parts = (slash < 0 ? QString() : text.mid(slash + 1)).split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));

    ServerTableAddress address;
    if (server.contains(u'%')) {
        const QString decoded = QString::fromUtf8(QByteArray::fromPercentEncoding(server.toLatin1()));
        address.connectionInfo = decoded.toUtf8();
        address.server = AddressShown(decoded);
    } else {
        address.connectionInfo = "service=" + server.toUtf8();
        address.server = server;
    }
    static const QRegularExpression year(QStringLiteral("^\\d{4}$"));
    if (!parts.isEmpty() && year.match(parts.first()).hasMatch()) {
        address.schema = parts.takeFirst();
    } else {
        address.schema = QString::fromLatin1(kOutsideYearsSchema);
    }
    QString table = parts.join(u'/').toUpper();
    if (table.endsWith(QLatin1String(".DB")))
        table.chop(3);
    address.table = table;
    return address;
}
