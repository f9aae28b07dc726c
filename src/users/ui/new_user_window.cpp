#include "users/ui/new_user_window.h"

#include "ledger/ui/qt_dialog_parts.h"
#include "store/table.h"
#include "users/access_levels.h"
#include "users/users_table.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit *Field(const char *objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

} // namespace

NewUserWindow::NewUserWindow(QWidget *parent)
    : QDialog(parent), LoginEdit(Field("LoginEdit", this)), NameEdit(Field("NameEdit", this)),
      LocationEdit(Field("LocationEdit", this)), PhoneEdit(Field("PhoneEdit", this)),
      DepartmentEdit(Field("DepartmentEdit", this)), Level(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("NewUserWindow"));
    setWindowTitle(QString::fromUtf8("Nowy użytkownik"));
    setModal(true);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("LOGIN :"), LoginEdit);
    fields->addRow(QString::fromUtf8("NAZWISKO i IMIĘ"), NameEdit);
    fields->addRow(QStringLiteral("LOKALIZACJA"), LocationEdit);
    fields->addRow(QStringLiteral("TELEFON"), PhoneEdit);
    fields->addRow(QString::fromUtf8("DZIAŁ"), DepartmentEdit);

    auto *levels = new QGroupBox(QStringLiteral(" Uprawnienie : "), this);
    levels->setObjectName(QStringLiteral("LevelBox"));
    auto *levelLayout = new QVBoxLayout(levels);
    for (const AccessLevelEntry &entry : AccessLevels()) {
        auto *choice = new QRadioButton(entry.label, levels);
        Level->addButton(choice, entry.level);
        levelLayout->addWidget(choice);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(levels);
    layout->addWidget(DialogButtons(*this, {DialogButton::Ok, DialogButton::Abort}));
}

void NewUserWindow::prepare(const Table &users)
{
    const QList<std::pair<QLineEdit *, QString>> edits{{LoginEdit, UsersField::Login},
                                                        {NameEdit, UsersField::Name},
                                                        {LocationEdit, UsersField::Location},
                                                        {PhoneEdit, UsersField::Phone},
                                                        {DepartmentEdit, UsersField::Department}};
    for (const auto &[edit, field] : edits) {
        edit->clear();
        const int room = TextFieldSize(users, field);
        edit->setMaxLength(room > 0 ? room : 32767);
    }
    // No level is proposed: the administrator chooses one or leaves it empty.
    Level->setExclusive(false);
    for (QAbstractButton *choice : Level->buttons())
        choice->setChecked(false);
    Level->setExclusive(true);
    LoginEdit->setFocus();
}

NewUser NewUserWindow::user() const
{
    NewUser user{LoginEdit->text(), NameEdit->text(), LocationEdit->text(), PhoneEdit->text(),
                 DepartmentEdit->text(), std::nullopt};
    if (Level->checkedId() >= 0)
        user.level = Level->checkedId();
    return user;
}
