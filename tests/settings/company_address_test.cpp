#include "settings/company_address.h"
#include "settings/company_input.h"

#include "store/table.h"
#include "support/data_tree_builder.h"

#include <gtest/gtest.h>

namespace {

// The company row as the window edits it: values typed into the edit buffer, the rule run on
// leaving a field.
class AddressFill : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withCompanyTable();
        company = tree.open(tree.companyTable());
        company->first();
        company->edit();
    }

    void type(const char *field, const QString &value)
    {
        company->setString(QString::fromLatin1(field), value);
        FillEmptyAddressFields(*company, QString::fromLatin1(field));
    }
    QString value(const char *field) const { return company->asString(QString::fromLatin1(field)); }
    // Every field of the row but the ones named, as "NAME=value".
    QStringList others(const QStringList &except) const
    {
        QStringList values;
        for (const FieldDef &field : company->fields())
            if (!except.contains(field.name))
                values << field.name + u'=' + company->asString(field.name);
        return values;
    }

    DataTreeBuilder tree;
    std::unique_ptr<Table> company;
};

TEST_F(AddressFill, AStreetFillsOnlyAnEmptyResidenceStreet)
{
    type("ULICA", QStringLiteral("Kwiatowa"));
    EXPECT_EQ(value("ZULICA"), "Kwiatowa");

    company->setString(QStringLiteral("ZULICA"), QStringLiteral("Polna"));
    type("ULICA", QStringLiteral("Lipowa"));
    EXPECT_EQ(value("ZULICA"), "Polna");
}

TEST_F(AddressFill, APostOfficeFillsTheEmptyTownsOfBothAddresses)
{
    company->setString(QStringLiteral("GMINA"), QStringLiteral("Kórnik"));
    type("POCZTA", QStringLiteral("Poznań"));

    for (const char *field : {"ZPOCZTA", "POWIAT", "MIEJSCOWOSC", "ZPOWIAT", "ZGMINA", "ZMIEJSCOWOSC"})
        EXPECT_EQ(value(field), "Poznań") << field;
    EXPECT_EQ(value("GMINA"), "Kórnik");
}

TEST_F(AddressFill, OtherFieldsFillNothing)
{
    const QStringList before = others({});
    type("EMAIL", QStringLiteral("biuro@firma.pl"));
    type("WWW", QStringLiteral("www.firma.pl"));
    type("ZULICA", QStringLiteral("Polna"));
    type("NAZWA1", QStringLiteral("Firma"));
    const QStringList typed{"EMAIL", "WWW", "ZULICA", "NAZWA1"};
    QStringList expected;
    for (const QString &pair : before)
        if (!typed.contains(pair.section(u'=', 0, 0)))
            expected << pair;
    EXPECT_EQ(others(typed), expected);
}

TEST_F(AddressFill, EveryOtherSeatFieldFillsItsOwnResidenceField)
{
    for (const QString &field : SeatAddressFields()) {
        if (field == QStringLiteral("POCZTA"))
            continue;
        company->setString(field, field.toLower());
        FillEmptyAddressFields(*company, field);
        EXPECT_EQ(company->asString(u'Z' + field), field.toLower()) << field.toStdString();
    }
}

struct InputCase {
    QString (*check)(const QString &);
    const char *typed;
    bool accepted;
};

class CompanyInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(CompanyInput, RefusesValuesTheFieldCannotKeep)
{
    const InputCase &c = GetParam();
    EXPECT_EQ(c.check(QString::fromUtf8(c.typed)).isEmpty(), c.accepted) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Values, CompanyInput,
    ::testing::Values(InputCase{BirthDateProblem, "", true}, InputCase{BirthDateProblem, "29-02-2000", true},
                      InputCase{BirthDateProblem, "29-02-2001", false}, InputCase{BirthDateProblem, "1970.01.01", false},
                      InputCase{BirthDateProblem, "32-01-1970", false},
                      InputCase{FiscalYearStartProblem, "", true}, InputCase{FiscalYearStartProblem, "07.01", true},
                      InputCase{FiscalYearStartProblem, "12.31", true}, InputCase{FiscalYearStartProblem, "13.01", false},
                      InputCase{FiscalYearStartProblem, "02.29", false}, InputCase{FiscalYearStartProblem, "7.1", false},
                      InputCase{FiscalYearStartProblem, "01.01.", false},
                      InputCase{ArchiveIntervalProblem, "", true}, InputCase{ArchiveIntervalProblem, "0", true},
                      InputCase{ArchiveIntervalProblem, "-1", false}, InputCase{ArchiveIntervalProblem, "7 dni", false},
                      InputCase{ArchiveIntervalProblem, "99999999999", false}));

TEST(TextLength, IsSaidRatherThanCut)
{
    EXPECT_TRUE(TextLengthProblem(QString(50, u'a'), 50).isEmpty());
    EXPECT_EQ(TextLengthProblem(QString(51, u'ą'), 50),
              "Wpisany tekst ma 51 znaków, a pole mieści najwyżej 50.\rTekst nie został zapisany.");
}

} // namespace
