#pragma once

#include "base/global_state.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <gtest/gtest.h>

// A working folder with the parameter row (login mode as given) and the users table BAZA\USER.DB.
class UsersTest : public ::testing::Test {
public:
    // LOGIN, HASLO, P9, P0 (an invalid QVariant leaves the field empty), NAZWISKO.
    static RowValues User(const QString &login, const QString &password, const QVariant &level,
                          const QVariant &general = {}, const QString &name = {})
    {
        RowValues row{{"LOGIN", login}, {"HASLO", password}, {"NAZWISKO", name.isEmpty() ? login : name}};
        if (level.isValid())
            row.append({"P9", level});
        if (general.isValid())
            row.append({"P0", general});
        return row;
    }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        session.setWorkingFolder(tree.workingFolder());
    }

    QString usersTable() const { return tree.workingFolder() + QStringLiteral("BAZA") + QDir::separator() + QStringLiteral("USER.DB"); }

    void withUsers(int loginMode, const QList<RowValues> &users)
    {
        tree.withParameterTable(loginMode);
        tree.createTable(usersTable(), UsersTableDefinition(), users);
    }

    DataTreeBuilder tree;
    Session session;
    ScriptedPrompt prompt;
    GlobalState state;
};
