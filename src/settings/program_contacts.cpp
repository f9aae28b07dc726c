#include "settings/program_contacts.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QStringList TwoLines(const QSettings &file, const QString &key)
{
    return {file.value(key + u'1').toString().trimmed(), file.value(key + u'2').toString().trimmed()};
}

QString Line(const QSettings &file, const QString &key)
{
    return file.value(key).toString().trimmed();
}

} // namespace

QString ContactsFileName()
{
    return QStringLiteral("informacja.ini");
}

ProgramContacts ReadProgramContacts(const QStringList &candidates)
{
    ProgramContacts contacts;
    for (const QString &candidate : candidates) {
        if (!QFileInfo(candidate).isFile())
            continue;
        QSettings file(candidate, QSettings::IniFormat);
        file.beginGroup(QStringLiteral("Sprzedaz"));
        contacts.sellerName = TwoLines(file, QStringLiteral("Nazwa"));
        contacts.sellerAddress = TwoLines(file, QStringLiteral("Adres"));
        contacts.sellerPhone = TwoLines(file, QStringLiteral("Telefon"));
        contacts.sellerEmail = TwoLines(file, QStringLiteral("Email"));
        contacts.sellerWeb = TwoLines(file, QStringLiteral("WWW"));
        contacts.orderAddress = Line(file, QStringLiteral("Zamowienie"));
        file.endGroup();
        file.beginGroup(QStringLiteral("Autor"));
        contacts.authorName = Line(file, QStringLiteral("Nazwa"));
        contacts.authorAddress = Line(file, QStringLiteral("Adres"));
        contacts.authorPhone = Line(file, QStringLiteral("Telefon"));
        contacts.authorWeb = Line(file, QStringLiteral("WWW"));
        contacts.authorEmail = Line(file, QStringLiteral("Email"));
        file.endGroup();
        break;
    }
    return contacts;
}

QString WebAddress(const QString &entry)
{
    if (entry.isEmpty() || entry.contains(QStringLiteral("://")))
        return entry;
    return QStringLiteral("http://") + entry;
}

QString MailAddress(const QString &entry)
{
    return entry.isEmpty() ? entry : QStringLiteral("mailto:") + entry;
}
