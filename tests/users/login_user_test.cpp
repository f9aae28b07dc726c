#include "users/login_user.h"

#include "store/table.h"
#include "support/scripted_login_dialog.h"
#include "users/network_user_name.h"
#include "users_fixture.h"

namespace {

const QString kWrongPassword = QString::fromUtf8("Złe hasło");
const QString kNoAccess = QString::fromUtf8("Brak uprawnień do obsługi programu");

struct LoginCase {
    const char *title;
    int mode;
    QList<RowValues> users;
    std::vector<ScriptedLoginDialog::Try> tries;
    QString systemUser;
    int levelBefore;           // AccessLevel when the login starts (0 at the first start)
    bool allowed;
    int level;
    QString loginName;
    QStringList messages;
};

RowValues User(const QString &login, const QString &password, const QVariant &level, const QVariant &general = {})
{
    return UsersTest::User(login, password, level, general);
}

const QList<RowValues> kStaff{User("ADMIN", "", 255), User("ANNA", "tajne", 100), User("OLA", QString(), {}, 100),
                              User("PIOTR", "p", 0, 255), User("kowalskija", "", 1), User("BRAK", "b", {}, {})};

class LoginCases : public UsersTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(LoginCases, LevelMessagesAndResult)
{
    const LoginCase &c = GetParam();
    withUsers(c.mode, c.users);
    ScriptedLoginDialog *dialog = nullptr;
    UserLogin login(UserLoginContext{session, prompt, state, c.systemUser, [&] {
                                         auto created = std::make_unique<ScriptedLoginDialog>();
                                         created->tries.assign(c.tries.begin(), c.tries.end());
                                         dialog = created.get();
                                         return created;
                                     }});
    state.AccessLevel = quint8(c.levelBefore);
    state.LoginName = QStringLiteral("POPRZEDNI");
    Table parameters(session);
    parameters.setTableName(QStringLiteral("KASA"));
    parameters.open();

    EXPECT_EQ(login.LoginUser(parameters), c.allowed);
    EXPECT_EQ(state.AccessLevel, c.level);
    EXPECT_EQ(state.LoginName, c.loginName);
    EXPECT_EQ(prompt.texts(), c.messages);
    if (dialog) {
        EXPECT_EQ(dialog->offeredLogins.size(), c.users.size());
        EXPECT_EQ(dialog->passwordLength, 20);
        // A refused password is never offered again.
        for (const QString &shown : dialog->passwordAtShow)
            EXPECT_EQ(shown, QString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LoginCases,
    ::testing::Values(
        LoginCase{"NoIdentificationKeepsTheLogin", 0, kStaff, {}, "anna", 0, true, 255, "POPRZEDNI", {}},
        LoginCase{"PasswordRightAtOnce", 2, kStaff, {{"ANNA", "tajne"}}, "", 0, true, 100, "ANNA", {}},
        LoginCase{"UnknownNameThenGivingUp",
                  2, kStaff, {{"NIKT", "tajne"}}, "", 0, false, 0, "", {kWrongPassword, kNoAccess}},
        LoginCase{"WrongPasswordThenTheRightOne",
                  2, kStaff, {{"ANNA", "TAJNE"}, {"ANNA", "tajn"}, {"ANNA", "tajne"}}, "", 0, true, 100, "ANNA",
                  {kWrongPassword, kWrongPassword}},
        LoginCase{"LoginComparedExactly", 2, kStaff, {{"anna", "tajne"}}, "", 0, false, 0, "", {kWrongPassword, kNoAccess}},
        LoginCase{"EmptyProgramLevelFallsBackToTheGeneralOne", 2, kStaff, {{"OLA", ""}}, "", 0, true, 100, "OLA", {}},
        LoginCase{"ProgramLevelZeroWinsOverGeneral255", 2, kStaff, {{"PIOTR", "p"}}, "", 0, false, 0, "PIOTR", {kNoAccess}},
        LoginCase{"NoLevelAtAll", 2, kStaff, {{"BRAK", "b"}}, "", 0, false, 0, "BRAK", {kNoAccess}},
        // Giving up with the right password typed is giving up.
        LoginCase{"AbortWithTheRightPasswordTyped",
                  2, kStaff, {ScriptedLoginDialog::Abandon("ANNA", "tajne")}, "", 0, false, 0, "", {kNoAccess}},
        // A repeated login given up keeps the level granted earlier and says nothing.
        LoginCase{"RepeatedLoginGivenUp", 2, kStaff, {}, "", 100, false, 100, "", {}},
        LoginCase{"NetworkNameCutToTen", 1, kStaff, {}, "kowalskijanek", 0, true, 1, "kowalskija", {}},
        LoginCase{"NetworkNameNotAUser", 1, kStaff, {}, "nowak", 0, false, 0, "nowak", {kNoAccess}},
        LoginCase{"NetworkNameOfNonLatinLetters", 1, kStaff, {}, QString::fromUtf8("Крістіна-Олександра"), 0, false, 0,
                  QString::fromUtf8("Крістіна-О"), {kNoAccess}},
        // A level another program wrote outside 0..255 does not wrap round.
        LoginCase{"LevelAbove255", 2, {User("X", "", 300)}, {{"X", ""}}, "", 0, true, 255, "X", {}},
        LoginCase{"ModeAboveTwoLetsNobodyIn", 3, kStaff, {}, "ADMIN", 0, false, 0, "", {kNoAccess}}),
    [](const ::testing::TestParamInfo<LoginCase> &info) { return std::string(info.param.title); });

TEST_F(UsersTest, UsersTableThatDoesNotOpenStopsTheLogin)
{
    tree.withParameterTable(2);
    UserLogin login(UserLoginContext{session, prompt, state, {}, [] { return std::make_unique<ScriptedLoginDialog>(); }});
    Table parameters(session);
    parameters.setTableName(QStringLiteral("KASA"));
    parameters.open();

    EXPECT_FALSE(login.LoginUser(parameters));
    EXPECT_EQ(prompt.texts(), QStringList{QString::fromUtf8("Błąd otwarcia bazy użytkowników.\rBrak możliwości uwierzytelnienia")});
    EXPECT_EQ(prompt.beeps(), 1);
}

TEST_F(UsersTest, LoginDialogOffersTheLoginsInKeyOrder)
{
    withUsers(2, {User("MAREK", "", 1), User("ADAM", "", 1), User("ZOFIA", "", 1)});
    ScriptedLoginDialog *dialog = nullptr;
    UserLogin login(UserLoginContext{session, prompt, state, {}, [&] {
                                         auto created = std::make_unique<ScriptedLoginDialog>();
                                         dialog = created.get();
                                         return created;
                                     }});
    Table parameters(session);
    parameters.setTableName(QStringLiteral("KASA"));
    parameters.open();
    login.LoginUser(parameters);
    login.LoginUser(parameters);

    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->offeredLogins, (QStringList{"ADAM", "MAREK", "ZOFIA"}));
    EXPECT_EQ(dialog->shown, 2); // one dialog for the whole run
}

TEST(NetworkUserName, CutAtNulAndAtTenWholeLetters)
{
    const QString combiningAcute = QString::fromUtf8("e\u0301");
    const QString clef = QString::fromUtf8("\U0001D11E");
    const std::vector<std::pair<QString, QString>> cases{
        {"", ""},
        {"jan", "jan"},
        {QStringLiteral("jan") + QChar(u'\0') + QStringLiteral("kowalski"), "jan"},
        {"abcdefghij", "abcdefghij"},
        {"abcdefghijk", "abcdefghij"},
        {QString::fromUtf8("łóżkowiczka"), QString::fromUtf8("łóżkowiczk")},
        // A letter of two code units at the edge is left out whole.
        {QStringLiteral("abcdefghi") + clef, QStringLiteral("abcdefghi")},
        {QStringLiteral("abcdefgh") + clef + QStringLiteral("x"), QStringLiteral("abcdefgh") + clef},
        {QStringLiteral("abcdefghi") + combiningAcute + QStringLiteral("x"), QStringLiteral("abcdefghi")},
    };
    for (const auto &[system, expected] : cases)
        EXPECT_EQ(NetworkUserName(system), expected) << system.toStdString();
}

} // namespace
