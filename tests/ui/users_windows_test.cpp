#include "base/global_state.h"
#include "modal_steps.h"
#include "store/table.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"
#include "users/ui/login_window.h"
#include "users/ui/new_user_window.h"
#include "users/ui/operator_list_window.h"
#include "users/ui/users_window.h"
#include "users/users_administration.h"
#include "widgets/table_grid.h"
#include "widgets/table_model.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class UsersWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withStandardTree(QStringLiteral("2019")).withParameterTable(2);
        tree.createTable(usersTable(), UsersTableDefinition(),
                         {{{"LOGIN", "ADMIN"}, {"NAZWISKO", "Administrator"}, {"P9", 255}},
                          {{"LOGIN", "JAN"}, {"NAZWISKO", "Jan Nowak"}, {"HASLO", "jan"}, {"P9", 1}},
                          {{"LOGIN", "OLA"}, {"NAZWISKO", "Ola Lis"}, {"P0", 100}}});
        session.setWorkingFolder(tree.workingFolder());
        parameters.setTableName(QStringLiteral("KASA"));
        parameters.open();
        state.LoginName = QStringLiteral("ADMIN");
        state.SignedInLogin = state.LoginName;
        state.AccessLevel = 255;
    }

    QString usersTable() const
    {
        return tree.workingFolder() + QStringLiteral("BAZA") + QDir::separator() + QStringLiteral("USER.DB");
    }

    DataTreeBuilder tree;
    Session session;
    Table parameters{session};
    GlobalState state;
    ScriptedPrompt prompt;
};

TEST_F(UsersWindows, LevelsShownAndPickedAsLabels)
{
    UsersAdministration administration(session, parameters, state, prompt, QStringLiteral("ADMIN"));
    UsersWindow window(administration, prompt);
    QStringList shown;
    QString legend;
    bool identificationShown = false;
    WhenModal([&](QWidget &) {
        TableModel &model = window.Grid->tableModel();
        const int level = model.columnOf("P9");
        for (int row = 0; row < model.rowCount(); ++row)
            shown.append(model.data(model.index(row, level)).toString());
        legend = window.Legend->text();
        identificationShown = window.IdentificationBox->isVisible();
        // " Szukaj :" goes to the nearest login.
        QTest::keyClicks(window.SearchBox, QStringLiteral("K"));
        EXPECT_EQ(administration.users().asString("LOGIN"), "OLA");
        QTest::keyClick(window.SearchBox, Qt::Key_Backspace);
        QTest::keyClicks(window.SearchBox, QStringLiteral("B"));
        EXPECT_EQ(administration.users().asString("LOGIN"), "JAN");
        // The administrator makes JAN an editor by picking the label.
        model.moveTo(1);
        EXPECT_TRUE(window.SaveButton->isEnabled());
        EXPECT_TRUE(model.setData(model.index(1, level), QStringLiteral("edycja")));
        EXPECT_FALSE(model.setData(model.index(1, level), QStringLiteral("szef")));
        window.SaveButton->click();
        // His own row stays as it is.
        model.moveTo(0);
        EXPECT_FALSE(window.SaveButton->isEnabled());
        EXPECT_FALSE(model.flags(model.index(0, level)) & Qt::ItemIsEditable);
        window.reject();
    });
    window.showModal();

    EXPECT_EQ(shown, (QStringList{"administracja", QString::fromUtf8("podgląd"), ""}));
    EXPECT_TRUE(legend.startsWith(QString::fromUtf8("brak         - brak uprawnień do programu\n")));
    EXPECT_TRUE(identificationShown);
    EXPECT_EQ(tree.column(usersTable(), "P9"), (QStringList{"255", "100", ""}));
}

// The dialog opens on "LOGIN :" with no level chosen, whatever was chosen the time before, and
// level 255 is granted only after a question; "Nie" brings the dialog back.
TEST_F(UsersWindows, NewUserDialogGrantsAdministrationOnlyWhenAsked)
{
    UsersAdministration administration(session, parameters, state, prompt, QStringLiteral("ADMIN"));
    UsersWindow window(administration, prompt);
    NewUserWindow &newUser = *window.NewUserDialog;
    QList<int> levelsAtShow;
    // A login typed, Tab on through the fields and Space on whatever has the focus then.
    const auto type = [&](const QString &login) {
        EXPECT_EQ(newUser.focusWidget(), newUser.LoginEdit) << login.toStdString();
        levelsAtShow.append(newUser.Level->checkedId());
        QTest::keyClicks(newUser.LoginEdit, login);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(newUser.focusWidget(), Qt::Key_Tab);
        QTest::keyClick(newUser.focusWidget(), Qt::Key_Space);
    };
    const auto inUsersWindow = [&](std::function<void(QWidget &)> step) {
        WhenModal([&, step](QWidget &) {
            WhenModal(step);
            window.NewButton->click();
            window.reject();
        });
        window.showModal();
    };
    prompt.answer(No);
    prompt.answer(Yes);
    inUsersWindow([&](QWidget &) {
        type(QStringLiteral("SZEF"));
        newUser.Level->button(255)->click();
        WhenModal([&](QWidget &) { newUser.accept(); }); // back after "Nie": "Tak" this time
        newUser.accept();
    });
    inUsersWindow([&](QWidget &) {
        type(QStringLiteral("ZOSIA"));
        newUser.accept();
    });

    const QString question =
        QString::fromUtf8("Czy nadać użytkownikowi o LOGIN : SZEF poziom uprawnień 255(administracja) ?");
    EXPECT_EQ(prompt.texts(), (QStringList{question, question}));
    EXPECT_EQ(levelsAtShow, (QList<int>{-1, -1}));
    EXPECT_EQ(tree.column(usersTable(), "LOGIN"), (QStringList{"ADMIN", "JAN", "OLA", "SZEF", "ZOSIA"}));
    EXPECT_EQ(tree.column(usersTable(), "P9"), (QStringList{"255", "1", "", "255", ""}));
}

// A login renamed in the grid to another user's says so, as the new-user dialog does.
TEST_F(UsersWindows, GridRenameToATakenLogin)
{
    UsersAdministration administration(session, parameters, state, prompt, QStringLiteral("ADMIN"));
    UsersWindow window(administration, prompt);
    WhenModal([&](QWidget &) {
        TableModel &model = window.Grid->tableModel();
        const int login = model.columnOf("LOGIN");
        ASSERT_TRUE(model.moveTo(2));
        // Another user's login, and the signed-in administrator's own.
        for (const QString &taken : {QStringLiteral("JAN"), QStringLiteral("ADMIN")}) {
            EXPECT_TRUE(model.setData(model.index(2, login), taken));
            EXPECT_TRUE(window.SaveButton->isEnabled());
            window.SaveButton->click();
        }
        administration.users().cancel();
        window.reject();
    });
    window.showModal();
    EXPECT_EQ(prompt.texts(), (QStringList{QString::fromUtf8("Użytkownik o LOGIN : JAN już jest w liście użytkowników."),
                                           QString::fromUtf8("Użytkownik o LOGIN : ADMIN już jest w liście użytkowników.")}));
    EXPECT_EQ(tree.column(usersTable(), "LOGIN"), (QStringList{"ADMIN", "JAN", "OLA"}));
}

// The name box takes a login only in its exact letter case.
TEST(LoginWindowName, IsNotCompletedToAnotherCase)
{
    LoginWindow window;
    window.setLogins({QStringLiteral("ADMIN"), QStringLiteral("ANNA")});
    WhenModal([&](QWidget &) {
        QTest::keyClicks(window.NameBox, QStringLiteral("admin"));
        QTest::keyClick(window.NameBox, Qt::Key_Return);
        if (window.isVisible())
            window.accept();
    });
    EXPECT_TRUE(window.ask());
    EXPECT_EQ(window.name(), "admin");
}

TEST_F(UsersWindows, OperatorChosenFromTheYearsList)
{
    Table operators(session);
    operators.setTableName(tree.yearTable("2019", "KSIEGA\\USER.DB"));
    operators.open();
    operators.append();
    operators.setString("KOD", "2");
    operators.setString("NAZWISKO", "Anna Nowak");
    operators.post();
    state.OperatorName = QStringLiteral("Jan Kowalski");
    OperatorListWindow window(operators, state, prompt);
    WhenModal([&](QWidget &) {
        window.Grid->tableModel().moveTo(1);
        window.ChangeButton->click();
    });
    window.showModal();
    EXPECT_EQ(state.OperatorName, "Anna Nowak");

    prompt.answer(Yes);
    WhenModal([&](QWidget &) {
        window.DeleteOperatorAction->trigger();
        window.reject();
    });
    window.showModal();
    EXPECT_EQ(prompt.texts(), QStringList{QString::fromUtf8("Czy skazować użytkownika Anna Nowak?")});
    EXPECT_EQ(tree.column(tree.yearTable("2019", "KSIEGA\\USER.DB"), "NAZWISKO"), QStringList{"Jan Kowalski"});
}

} // namespace
