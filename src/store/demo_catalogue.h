#pragma once

#include <QList>
#include <QString>

// The made-up small firm the demo data tree is filled with: names, towns and texts that look
// like a real year of a Polish firm's cash desk.

struct DemoContractor {
    QString shortName;
    QString name1;
    QString name2;
    QString postalCode;
    QString town;
    QString street;
    QString nip;
};

struct DemoDescription {
    QString kind;      // RD
    QString text;
    qint64 cents = 0;  // default amount in hundredths, 0 = none
};

struct DemoAccount {
    QString code;
    QString name;
};

QList<DemoContractor> DemoContractors();   // about fifty
QList<DemoDescription> DemoDescriptions();
QList<DemoAccount> DemoAccounts();
QStringList DemoOperators();
