#include "users/users_table.h"

#include "store/table.h"
#include "store/table_schemas.h"

bool OpenUsersTable(Table &users)
{
    users.close();
    users.setTableName(UsersTableLocation().relativeName());
    try {
        users.open();
        if (users.hasField(UsersField::Login) && users.hasField(UsersField::Password)) {
            users.setIndexName(QString());
            return true;
        }
    } catch (const EngineError &) {
    }
    users.close();
    return false;
}

