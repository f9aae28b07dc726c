#include "settings/company_address.h"

#include "store/table.h"
#include "store/table_edit_helpers.h"

namespace {

const QString kPostOffice = QStringLiteral("POCZTA");

void FillWhenEmpty(Table &company, const QString &field, const QString &value)
{
    if (company.asString(field).isEmpty() && !value.isEmpty())
        company.setString(field, value);
}

} // namespace

const QStringList &SeatAddressFields()
{
    static const QStringList fields{QStringLiteral("ULICA"),       QStringLiteral("NUMER"),  QStringLiteral("LOKAL"),
                                    QStringLiteral("KOD"),         kPostOffice,              QStringLiteral("KRAJ"),
                                    QStringLiteral("WOJEWODZTWO"), QStringLiteral("POWIAT"), QStringLiteral("GMINA"),
                                    QStringLiteral("MIEJSCOWOSC")};
    return fields;
}

void FillEmptyAddressFields(Table &company, const QString &leftField)
{
    const QString field = leftField.toUpper();
    if (!company.isOpen() || !SeatAddressFields().contains(field))
        return;
    EnsureEditing(company);
    const QString value = company.asString(field);
    FillWhenEmpty(company, u'Z' + field, value);
    if (field != kPostOffice)
        return;
    for (const char *town : {"POWIAT", "GMINA", "MIEJSCOWOSC", "ZPOWIAT", "ZGMINA", "ZMIEJSCOWOSC"})
        FillWhenEmpty(company, QString::fromLatin1(town), value);
}
