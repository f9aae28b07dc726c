#include "users/users_administration.h"

#include "store/table.h"
#include "users_fixture.h"

#include <memory>

namespace {

const QString kLastAdministrator = QString::fromUtf8(
    "Jest to ostatni użytkownik z poziomem uprawnień 255(administracja).\r"
    "Nie można go skasować ani obniżyć jego uprawnień.");
const QString kModeLater =
    QString::fromUtf8("Wybrana opcja logowania zostanie uruchomiona po ponownym włączeniu programu.");

class Administration : public UsersTest {
protected:
    void open(int loginMode, const QList<RowValues> &users, int accessLevel, const QString &loginName,
              const QString &systemUser = QStringLiteral("nowak"))
    {
        withUsers(loginMode, users);
        state.AccessLevel = quint8(accessLevel);
        state.LoginName = loginName;
        state.SignedInLogin = loginName;
        parameters = std::make_unique<Table>(session);
        parameters->setTableName(QStringLiteral("KASA"));
        parameters->open();
        administration = std::make_unique<UsersAdministration>(session, *parameters, state, prompt, systemUser);
        ASSERT_TRUE(administration->open());
    }

    void goTo(const QString &login) { ASSERT_TRUE(administration->users().findKey({login})); }
    QStringList stored(const QString &field) { return tree.column(usersTable(), field); }
    int storedMode()
    {
        parameters->refresh();
        return parameters->asInteger(QStringLiteral("L4"));
    }

    std::unique_ptr<Table> parameters;
    std::unique_ptr<UsersAdministration> administration;
};

const QList<RowValues> kTwoUsers{UsersTest::User("ADMIN", "", 255), UsersTest::User("ANNA", "a", 100)};

struct RulesCase {
    const char *title;
    int accessLevel;
    int loginMode;
    QString loginName;
    QString row;
    bool mayAddUsers, mayChangePassword, mayEditRow, showsIdentification;
};

class Rules : public Administration, public ::testing::WithParamInterface<RulesCase> {};

TEST_P(Rules, OfTheCurrentRow)
{
    const RulesCase &c = GetParam();
    open(c.loginMode, kTwoUsers, c.accessLevel, c.loginName);
    goTo(c.row);
    const UsersWindowRules rules = administration->rules();
    EXPECT_EQ(rules.mayAddUsers, c.mayAddUsers);
    EXPECT_EQ(rules.mayChangePassword, c.mayChangePassword);
    EXPECT_EQ(rules.mayEditRow, c.mayEditRow);
    EXPECT_EQ(rules.showsIdentification, c.showsIdentification);
}

INSTANTIATE_TEST_SUITE_P(
    AdministratorAndOwnRow, Rules,
    ::testing::Values(
        RulesCase{"AdministratorOnAnotherRow", 255, 2, "ADMIN", "ANNA", true, true, true, true},
        // He cannot lower or delete himself, but may change his password.
        RulesCase{"AdministratorOnHisOwnRow", 255, 2, "ADMIN", "ADMIN", true, true, false, true},
        // Without identification everybody has 255 and nobody administers; the login is empty.
        RulesCase{"NoIdentification", 255, 0, "", "ANNA", false, false, false, true},
        RulesCase{"NoIdentificationOnTheOwnRow", 255, 0, "ANNA", "ANNA", false, true, false, true},
        RulesCase{"EditorOnHisOwnRow", 100, 2, "ANNA", "ANNA", false, true, false, false},
        RulesCase{"EditorOnAnotherRow", 100, 1, "ANNA", "ADMIN", false, false, false, false}),
    [](const ::testing::TestParamInfo<RulesCase> &info) { return std::string(info.param.title); });

TEST_F(Administration, PasswordsMustAgreeAndAnEmptyOneIsAccepted)
{
    open(2, kTwoUsers, 100, "ANNA");
    goTo("ANNA");

    EXPECT_FALSE(administration->changePassword("nowe", "nowy"));
    EXPECT_EQ(stored("HASLO"), (QStringList{"", "a"}));
    EXPECT_TRUE(administration->changePassword("", ""));
    EXPECT_EQ(stored("HASLO"), (QStringList{"", ""}));
    EXPECT_EQ(prompt.texts(), (QStringList{QString::fromUtf8("Powtórzone hasło niezgodne z pierwotnym."),
                                           QString::fromUtf8("Hasło poprawnie zmienione.")}));
    // Nobody else's password.
    goTo("ADMIN");
    EXPECT_FALSE(administration->changePassword("x", "x"));
    EXPECT_EQ(stored("HASLO"), (QStringList{"", ""}));
}

TEST_F(Administration, NewUsers)
{
    open(2, kTwoUsers, 255, "ADMIN");

    // A login of spaces only: the row is dropped without a word.
    administration->startNewUser();
    EXPECT_EQ(administration->finishNewUser({"   ", "Ktoś", "", "", "", 100}),
              UsersAdministration::NewUserOutcome::Discarded);
    EXPECT_TRUE(prompt.texts().isEmpty());

    // A login already there is refused and the row waits for another one.
    administration->startNewUser();
    EXPECT_EQ(administration->finishNewUser({"ANNA", "Anna Druga", "", "", "", 1}),
              UsersAdministration::NewUserOutcome::Refused);
    EXPECT_EQ(prompt.texts(), QStringList{QString::fromUtf8("Użytkownik o LOGIN : ANNA już jest w liście użytkowników.")});
    EXPECT_EQ(administration->finishNewUser({"BOGDAN", "Bogdan Nowy", "Pokój 3", "123", "Kadry", 1}),
              UsersAdministration::NewUserOutcome::Stored);

    // No level chosen leaves the level empty.
    administration->startNewUser();
    EXPECT_EQ(administration->finishNewUser({"CEZARY", "", "", "", "", std::nullopt}),
              UsersAdministration::NewUserOutcome::Stored);

    EXPECT_EQ(stored("LOGIN"), (QStringList{"ADMIN", "ANNA", "BOGDAN", "CEZARY"}));
    EXPECT_EQ(stored("P9"), (QStringList{"255", "100", "1", ""}));
    EXPECT_EQ(stored("DZIAL"), (QStringList{"", "", "Kadry", ""}));
}

TEST_F(Administration, TheLastAdministratorIsNeitherDeletedNorLowered)
{
    open(2, {User("ADMIN", "", 255), User("SZEF", "s", {}, 255), User("ANNA", "a", 100)}, 255, "GOSC");
    Table &users = administration->users();

    goTo("SZEF");
    prompt.answer(Yes);
    EXPECT_TRUE(administration->deleteCurrent());
    goTo("ADMIN");
    prompt.answer(Yes);
    EXPECT_FALSE(administration->deleteCurrent());
    users.edit();
    users.setInteger("P9", 100);
    EXPECT_FALSE(administration->save());
    EXPECT_EQ(stored("LOGIN"), (QStringList{"ADMIN", "ANNA"}));
    EXPECT_EQ(stored("P9"), (QStringList{"255", "100"}));
    EXPECT_EQ(users.asString("P9"), "255"); // the window shows what is stored again
    // A post of the grid, outside the window's commands, is refused as well.
    users.edit();
    users.setString("P9", "1");
    EXPECT_THROW(users.post(), Abort);
    users.cancel();
    EXPECT_EQ(stored("P9"), (QStringList{"255", "100"}));
    EXPECT_EQ(prompt.texts(), (QStringList{QString::fromUtf8("Czy skasować użytkownika SZEF"),
                                           QString::fromUtf8("Czy skasować użytkownika ADMIN"), kLastAdministrator,
                                           kLastAdministrator, kLastAdministrator}));

    // Another user may be lowered and deleted.
    goTo("ANNA");
    users.edit();
    users.setInteger("P9", 1);
    EXPECT_TRUE(administration->save());
    prompt.answer(No);
    EXPECT_FALSE(administration->deleteCurrent());
    EXPECT_EQ(stored("P9"), (QStringList{"255", "1"}));
}

// "Nie" to the warning leaves the mode as it was: it never switches the login off.
TEST_F(Administration, NetworkLoginForAUserWhoIsNotThereAnsweredNo)
{
    const QString warning =
        QString::fromUtf8("Uwaga! Została wybrana opcja logowania na podstawie sieci.\r"
                          "W liscie użytkowników brak użytkownika o LOGIN : nowak,\r"
                          "i/lub poziom uprawnień niższy niż 255(administracja) dla wszystkich programów.\r"
                          "Może to spowodować brak możliwości zarządzania uprawnieniami.\rCzy kontynuować ?");
    open(2, kTwoUsers, 255, "ADMIN");
    prompt.answer(No);

    const UsersAdministration::ChoiceOutcome outcome = administration->chooseLoginMode(1);

    EXPECT_EQ(outcome.mode, 2);
    EXPECT_FALSE(outcome.closeWindow);
    EXPECT_EQ(storedMode(), 2);
    EXPECT_EQ(state.LoginName, "ADMIN");
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages()[0].text, warning);
    EXPECT_EQ(prompt.messages()[0].icon, PromptIcon::Warning);
}

// Switching the login off gives everybody level 255: it is asked about, and "Nie" keeps the mode.
TEST_F(Administration, SwitchingTheLoginOffIsConfirmed)
{
    const QString question = QString::fromUtf8(
        "Uwaga! Została wybrana opcja bez identyfikacji użytkowników.\r"
        "Po ponownym włączeniu programu każdy użytkownik będzie miał poziom uprawnień 255(administracja).\r"
        "Czy kontynuować ?");
    open(2, kTwoUsers, 255, "ADMIN");
    prompt.answer(No);
    EXPECT_EQ(administration->chooseLoginMode(0).mode, 2);
    EXPECT_EQ(storedMode(), 2);
    prompt.answer(Yes);
    EXPECT_TRUE(administration->chooseLoginMode(0).closeWindow);
    EXPECT_EQ(storedMode(), 0);
    EXPECT_EQ(prompt.texts(), (QStringList{question, question, kModeLater}));
}

// The network login names another user, but the administrator who signed in keeps his own row:
// he can still not lower or delete himself in this run.
TEST_F(Administration, ChangingTheModeKeepsTheSignedInUsersOwnRow)
{
    open(2, kTwoUsers, 255, "ADMIN", "ANNA");
    prompt.answer(Yes);
    EXPECT_TRUE(administration->chooseLoginMode(1).closeWindow);
    EXPECT_EQ(state.LoginName, "ANNA");
    ASSERT_TRUE(administration->open());
    goTo("ADMIN");
    EXPECT_FALSE(administration->rules().mayEditRow);
    goTo("ANNA");
    EXPECT_TRUE(administration->rules().mayEditRow);
}

TEST_F(Administration, NetworkLoginAndBackToNone)
{
    open(2, kTwoUsers, 255, "ADMIN", "ADMIN");

    EXPECT_EQ(administration->chooseLoginMode(1).closeWindow, true);
    EXPECT_EQ(storedMode(), 1);
    EXPECT_EQ(prompt.texts(), QStringList{kModeLater});
    EXPECT_EQ(administration->chooseLoginMode(0).closeWindow, true);
    EXPECT_EQ(storedMode(), 0);
}

TEST_F(Administration, PasswordLoginNeedsAnAdministratorWhoCanLogIn)
{
    const QString refused = QString::fromUtf8(
        "Logowanie na podstawie logowania nie zostało włączone.\r"
        "W liście użytkowników brak użytkownika z poziomem uprawnień 255(administracja),\r"
        "który mógłby się zalogować swoim hasłem.");
    open(0, {User("ANNA", "a", 100), User("SZEF", QStringLiteral("a\tb"), 255)}, 255, "");

    const UsersAdministration::ChoiceOutcome outcome = administration->chooseLoginMode(2);
    EXPECT_EQ(outcome.mode, 0);
    EXPECT_FALSE(outcome.closeWindow);
    administration->storeChosenMode(2);
    EXPECT_EQ(storedMode(), 0);
    EXPECT_EQ(prompt.texts(), (QStringList{refused, refused}));

    // Once the administrator's password can be typed, the mode is stored.
    prompt.clear();
    goTo("SZEF");
    Table &users = administration->users();
    users.edit();
    users.setString("HASLO", "szef");
    users.post();
    EXPECT_EQ(administration->chooseLoginMode(2).closeWindow, true);
    EXPECT_EQ(storedMode(), 2);
    EXPECT_EQ(prompt.texts(), QStringList{kModeLater});
}

} // namespace
