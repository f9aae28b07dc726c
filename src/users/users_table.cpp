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

int TextFieldSize(const Table &table, const QString &field)
{
    for (const FieldDef &definition : table.fields())
        if (definition.name.compare(field, Qt::CaseInsensitive) == 0)
            return definition.type == FieldType::Text ? definition.size : 0;
    return 0;
}
