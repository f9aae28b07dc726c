#pragma once

#include <QString>
#include <QStringList>

// Who sells the program and who wrote it, as "Informacja o programie" shows them. The program
// names no firm of its own: an installation gives them in the file "informacja.ini" (sections
// [Sprzedaz] and [Autor]), looked for where the guide is looked for.
struct ProgramContacts {
    // Two lines each.
    QStringList sellerName{QString(), QString()};
    QStringList sellerAddress{QString(), QString()};
    QStringList sellerPhone{QString(), QString()};
    QStringList sellerEmail{QString(), QString()};
    QStringList sellerWeb{QString(), QString()};
    QString orderAddress; // the page "ZAMÓWIENIE" opens
    QString authorName, authorAddress, authorPhone, authorWeb, authorEmail;
};

QString ContactsFileName();

// The first of the files that exists; empty contacts when none does.
ProgramContacts ReadProgramContacts(const QStringList &candidates);

// The address a web entry opens ("http://" before it unless it names its own scheme), and the
// one an e-mail entry opens.
QString WebAddress(const QString &entry);
QString MailAddress(const QString &entry);
