#include "users/ui/users_window.h"

#include "base/prompt.h"
#include "store/engine_error.h"
#include "users/access_levels.h"
#include "users/login_mode.h"
#include "users/ui/new_user_window.h"
#include "users/users_administration.h"
#include "users/users_table.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"
#include "widgets/table_model.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QList<GridColumn> UserColumns()
{
    GridColumn login{.field = UsersField::Login};
    GridColumn name{.field = UsersField::Name, .title = QString::fromUtf8("Nazwisko i Imię"), .width = 200};
    GridColumn general{.field = UsersField::GeneralLevel, .title = QStringLiteral("Uprawnienia do administracji"),
                       .visible = false};
    // The level is shown and picked as its label.
    GridColumn level{.field = UsersField::ProgramLevel, .title = QStringLiteral("Uprawnienia do programu"),
                     .width = 160, .pickList = AccessLevelLabels(), .pickListOnly = true};
    level.shownAs = [](const QString &stored) { return AccessLevelLabel(stored); };
    level.storedAs = [](const QString &typed) {
        const std::optional<int> value = AccessLevelOfLabel(typed);
        return value ? QString::number(*value) : QString();
    };
    return {login, name, general, level};
}

QLineEdit *PasswordBox(const char *objectName, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEchoMode(QLineEdit::Password);
    // Each typed character shows as "*".
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return box;
}

QPushButton *Button(const QString &text, const char *objectName, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    return button;
}

} // namespace

UsersWindow::UsersWindow(UsersAdministration &administration, Prompt &prompt, QWidget *parent)
    : QDialog(parent), administration_(administration), prompt_(prompt)
{
    setObjectName(QStringLiteral("UsersWindow"));
    setWindowTitle(QString::fromUtf8("Użytkownicy"));
    setModal(true);
    auto *model = new TableModel(administration_.users(), UserColumns());
    model->setPrompt(&prompt_);
    Grid = new TableGrid(model, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    SearchBox = new QLineEdit(this);
    SearchBox->setObjectName(QStringLiteral("SearchBox"));
    NewUserDialog = new NewUserWindow(this);

    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral(" Szukaj :"), this));
    search->addWidget(SearchBox, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(Grid, 1);
    left->addLayout(search);
    left->addWidget(buildDescription());
    left->addWidget(buildButtons());

    auto *right = new QVBoxLayout;
    right->addWidget(buildPasswordPanel());
    right->addWidget(buildIdentification());
    right->addWidget(buildLegend());
    right->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    administration_.users().addListener(this);
    connect(SearchBox, &QLineEdit::textEdited, this, [this](const QString &text) {
        run([&] {
            if (commitDescription())
                administration_.search(text);
        });
    });
    resize(900, 480);
}

UsersWindow::~UsersWindow()
{
    administration_.users().removeListener(this);
}

void UsersWindow::tableChanged(Table &, TableChange change)
{
    if (change == TableChange::Row || change == TableChange::DataSet)
        applyRowRules();
}

QWidget *UsersWindow::buildDescription()
{
    auto *box = new QWidget(this);
    Table &users = administration_.users();
    PhoneEdit = new TableFieldEdit(users, UsersField::Phone, box);
    PhoneEdit->setObjectName(QStringLiteral("PhoneEdit"));
    DepartmentEdit = new TableFieldEdit(users, UsersField::Department, box);
    DepartmentEdit->setObjectName(QStringLiteral("DepartmentEdit"));
    LocationEdit = new TableFieldEdit(users, UsersField::Location, box);
    LocationEdit->setObjectName(QStringLiteral("LocationEdit"));
    for (TableFieldEdit *edit : {PhoneEdit, DepartmentEdit, LocationEdit})
        edit->setPrompt(&prompt_);
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Telefon : "), PhoneEdit);
    form->addRow(QString::fromUtf8("Dział :"), DepartmentEdit);
    form->addRow(QStringLiteral("Lokalizacja :"), LocationEdit);
    return box;
}

QWidget *UsersWindow::buildButtons()
{
    auto *row = new QWidget(this);
    NewButton = Button(QStringLiteral("Nowy"), "NewButton", row);
    SaveButton = Button(QStringLiteral("Zapisz"), "SaveButton", row);
    DeleteButton = Button(QStringLiteral("Kasuj"), "DeleteButton", row);
    PasswordButton = Button(QStringLiteral("> zmień haslo"), "PasswordButton", row);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *button : {NewButton, SaveButton, DeleteButton, PasswordButton})
        layout->addWidget(button);
    layout->addStretch(1);
    connect(NewButton, &QPushButton::clicked, this, [this] { newUser(); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { deleteUser(); });
    connect(PasswordButton, &QPushButton::clicked, this, [this] { showPasswordPanel(); });
    return row;
}

QWidget *UsersWindow::buildPasswordPanel()
{
    PasswordPanel = new QGroupBox(QString::fromUtf8("Zmiana hasła :"), this);
    PasswordPanel->setObjectName(QStringLiteral("PasswordPanel"));
    NewPasswordBox = PasswordBox("NewPasswordBox", PasswordPanel);
    RepeatedPasswordBox = PasswordBox("RepeatedPasswordBox", PasswordPanel);
    ChangePasswordButton = Button(QString::fromUtf8("Zmień"), "ChangePasswordButton", PasswordPanel);
    auto *form = new QFormLayout(PasswordPanel);
    form->addRow(QString::fromUtf8("Nowe hasło :"), NewPasswordBox);
    form->addRow(QString::fromUtf8("Powtórz hasło :"), RepeatedPasswordBox);
    form->addRow(QString(), ChangePasswordButton);
    connect(ChangePasswordButton, &QPushButton::clicked, this, [this] { changePassword(); });
    PasswordPanel->hide();
    return PasswordPanel;
}

QWidget *UsersWindow::buildIdentification()
{
    IdentificationBox = new QGroupBox(QString::fromUtf8(" Sposób identyfikacji : "), this);
    IdentificationBox->setObjectName(QStringLiteral("IdentificationBox"));
    Identification = new QButtonGroup(IdentificationBox);
    auto *layout = new QVBoxLayout(IdentificationBox);
    for (const LoginMode mode : {LoginMode::None, LoginMode::Network, LoginMode::Password}) {
        auto *choice = new QRadioButton(LoginModeCaption(mode), IdentificationBox);
        Identification->addButton(choice, int(mode));
        layout->addWidget(choice);
    }
    connect(Identification, &QButtonGroup::idToggled, this, [this](int mode, bool checked) {
        if (checked && !settingIdentification_)
            identificationChosen(mode);
    });
    return IdentificationBox;
}

QWidget *UsersWindow::buildLegend()
{
    LegendBox = new QGroupBox(QString::fromUtf8(" Poziom uprawnień : "), this);
    LegendBox->setObjectName(QStringLiteral("LegendBox"));
    Legend = new QLabel(LegendBox);
    Legend->setObjectName(QStringLiteral("Legend"));
    // The lines are aligned by spaces.
    Legend->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *layout = new QVBoxLayout(LegendBox);
    layout->addWidget(Legend);
    return LegendBox;
}

int UsersWindow::showModal()
{
    Legend->setText(AccessLevelLegend().join(u'\n'));
    if (!administration_.open())
        return QDialog::Rejected;
    Grid->tableModel().reload();
    Grid->applyColumns();
    for (TableFieldEdit *edit : {PhoneEdit, DepartmentEdit, LocationEdit})
        edit->reload();
    SearchBox->clear();
    NewButton->setEnabled(administration_.rules().mayAddUsers);
    applyRowRules();
    setIdentificationSilently(administration_.storedLoginMode());
    Grid->setFocus();
    return exec();
}

void UsersWindow::applyRowRules()
{
    const UsersWindowRules rules = administration_.rules();
    PasswordButton->setEnabled(rules.mayChangePassword);
    PasswordPanel->hide();
    IdentificationBox->setVisible(rules.showsIdentification);
    Grid->tableModel().setEditable(rules.mayEditRow);
    for (TableFieldEdit *edit : {PhoneEdit, DepartmentEdit, LocationEdit})
        edit->setReadOnly(!rules.mayEditRow);
    SaveButton->setEnabled(rules.mayEditRow);
    DeleteButton->setEnabled(rules.mayEditRow);
}

void UsersWindow::setIdentificationSilently(int mode)
{
    settingIdentification_ = true;
    if (QAbstractButton *choice = Identification->button(mode)) {
        choice->setChecked(true);
    } else {
        // A mode the window does not offer: none of the three is chosen.
        Identification->setExclusive(false);
        for (QAbstractButton *button : Identification->buttons())
            button->setChecked(false);
        Identification->setExclusive(true);
    }
    settingIdentification_ = false;
}

// What was typed into a description field goes into the row before anything else happens.
bool UsersWindow::commitDescription()
{
    for (TableFieldEdit *edit : {PhoneEdit, DepartmentEdit, LocationEdit})
        if (edit->hasPendingText() && !edit->commit())
            return false;
    return true;
}

void UsersWindow::showPasswordPanel()
{
    NewPasswordBox->clear();
    RepeatedPasswordBox->clear();
    const int room = TextFieldSize(administration_.users(), UsersField::Password);
    for (QLineEdit *box : {NewPasswordBox, RepeatedPasswordBox})
        box->setMaxLength(room > 0 ? room : 32767);
    PasswordPanel->show();
    IdentificationBox->hide();
    NewPasswordBox->setFocus();
}

void UsersWindow::changePassword()
{
    run([this] {
        if (!commitDescription())
            return;
        if (!administration_.changePassword(NewPasswordBox->text(), RepeatedPasswordBox->text()))
            return;
        NewPasswordBox->clear();
        RepeatedPasswordBox->clear();
        PasswordPanel->hide();
        IdentificationBox->setVisible(administration_.rules().showsIdentification);
    });
}

void UsersWindow::newUser()
{
    run([this] {
        if (!commitDescription())
            return;
        administration_.startNewUser();
        NewUserDialog->prepare(administration_.users());
        while (true) {
            if (NewUserDialog->exec() != QDialog::Accepted) {
                administration_.abandonNewUser();
                break;
            }
            if (administration_.finishNewUser(NewUserDialog->user()) != UsersAdministration::NewUserOutcome::Refused)
                break;
        }
        Grid->tableModel().reload();
        applyRowRules();
    });
}

void UsersWindow::save()
{
    run([this] {
        if (commitDescription())
            administration_.save();
    });
}

void UsersWindow::deleteUser()
{
    run([this] {
        if (commitDescription())
            administration_.deleteCurrent();
    });
    applyRowRules();
}

void UsersWindow::identificationChosen(int mode)
{
    UsersAdministration::ChoiceOutcome outcome{mode, false};
    run([&] { outcome = administration_.chooseLoginMode(mode); });
    setIdentificationSilently(outcome.mode);
    if (outcome.closeWindow)
        accept();
}

void UsersWindow::done(int result)
{
    bool stored = false;
    run([&] { stored = commitDescription() && administration_.storePending(); });
    if (!stored)
        return;
    if (const int mode = Identification->checkedId(); mode >= 0)
        run([&] { administration_.storeChosenMode(mode); });
    administration_.close();
    QDialog::done(result);
}

void UsersWindow::run(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
}
