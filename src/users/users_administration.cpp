#include "users/users_administration.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "base/text_format.h"
#include "store/table_edit_helpers.h"
#include "store/transaction_scope.h"
#include "users/access_levels.h"
#include "users/login_mode.h"
#include "users/network_user_name.h"
#include "users/users_table.h"

namespace {

bool IsEditing(const Table &table)
{
    return table.isOpen() && (table.state() == TableState::Edit || table.state() == TableState::Insert);
}

// A stored password the login dialog's box can take and a person can type.
bool CanBeTyped(const QString &password, int room)
{
    if (room > 0 && password.size() > room)
        return false;
    for (const QChar c : password)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

} // namespace

namespace UsersMessage {

QString DeleteQuestion(const QString &name)
{
    return QString::fromUtf8("Czy skasować użytkownika ") + name;
}

QString NetworkModeQuestion(const QString &loginName)
{
    return QString::fromUtf8("Uwaga! Została wybrana opcja logowania na podstawie sieci.\r"
                             "W liscie użytkowników brak użytkownika o LOGIN : ")
           + loginName + QStringLiteral(",") + QStringLiteral("\r")
           + QString::fromUtf8("i/lub poziom uprawnień niższy niż 255(administracja) dla wszystkich programów.")
           + QStringLiteral("\r") + QString::fromUtf8("Może to spowodować brak możliwości zarządzania uprawnieniami.")
           + QStringLiteral("\r") + QStringLiteral("Czy kontynuować ?");
}

QString LoginTaken(const QString &login)
{
    return QString::fromUtf8("Użytkownik o LOGIN : ") + login + QString::fromUtf8(" już jest w liście użytkowników.");
}

QString GrantAdministration(const QString &login)
{
    return QString::fromUtf8("Czy nadać użytkownikowi o LOGIN : ") + login
           + QString::fromUtf8(" poziom uprawnień 255(administracja) ?");
}

QString TooLong(const QString &what, int length)
{
    return what + QString::fromUtf8(" może mieć najwyżej ") + QString::number(length) + QString::fromUtf8(" znaków.");
}

} // namespace UsersMessage

UsersAdministration::UsersAdministration(Session &session, Table &parameters, GlobalState &state, Prompt &prompt,
                                         const QString &systemUserName)
    : session_(session), parameters_(parameters), state_(state), prompt_(prompt), systemUserName_(systemUserName),
      users_(session, QStringLiteral("TUSERS"))
{
    // Inside a transaction scope the stored rows are counted after the write, in its own
    // transaction, and a refusal rolls it back; a post outside one (the grid moving to another
    // row) is checked on the stored rows read just before it.
    users_.events.beforePost = [this](Table &table) {
        refuseTakenLogin(table);
        noteStoredAdministrator(table, false);
    };
    users_.events.beforeDelete = [this](Table &table) { noteStoredAdministrator(table, true); };
    users_.events.afterPost = [this](Table &) { checkAdministratorRemains(); };
    users_.events.afterDelete = [this](Table &) { checkAdministratorRemains(); };
}

UsersAdministration::~UsersAdministration() = default;

bool UsersAdministration::open()
{
    if (OpenUsersTable(users_)) {
        users_.first();
        return true;
    }
    prompt_.error(QString::fromUtf8("Błąd otwarcia bazy użytkowników.\rBaza : ") + users_.filePath());
    return false;
}

bool UsersAdministration::storePending()
{
    if (!IsEditing(users_))
        return true;
    return inScope([this] { return PostAndFlush(users_, prompt_); });
}

// The last administrator keeps his level and his row: when the guard refuses, everything the
// work wrote is rolled back and the window shows what is stored again.
bool UsersAdministration::inScope(const std::function<bool()> &work)
{
    const Bookmark row = users_.bookmark();
    try {
        TransactionScope scope;
        const bool done = work();
        scope.commit();
        return done;
    } catch (const Abort &) {
        if (IsEditing(users_))
            users_.cancel();
        users_.refresh();
        users_.gotoBookmark(row);
        return false;
    }
}

void UsersAdministration::close()
{
    users_.close();
}

int UsersAdministration::storedLoginMode() const
{
    return StoredLoginMode(parameters_);
}

bool UsersAdministration::isAdministrator() const
{
    return state_.AccessLevel == kAdministrationLevel && storedLoginMode() != int(LoginMode::None);
}

// The row's login as stored: a login being typed into another user's row does not make it the
// signed-in user's own.
bool UsersAdministration::onOwnRow() const
{
    if (!users_.isOpen() || users_.isEmpty() || users_.state() == TableState::Insert)
        return false;
    QString login = users_.asString(UsersField::Login);
    if (users_.state() == TableState::Edit)
        if (const std::optional<QVariantList> stored = users_.storedValuesOfCurrentRow({UsersField::Login}))
            login = stored->value(0).toString();
    return login == state_.SignedInLogin;
}

UsersWindowRules UsersAdministration::rules() const
{
    UsersWindowRules rules;
    const bool administrator = isAdministrator();
    const bool ownRow = onOwnRow();
    const bool hasRow = users_.isOpen() && !users_.isEmpty();
    rules.mayAddUsers = administrator && users_.isOpen();
    rules.mayChangePassword = hasRow && (administrator || ownRow);
    rules.mayEditRow = hasRow && administrator && !ownRow;
    rules.showsIdentification =
        state_.AccessLevel == kAdministrationLevel || storedLoginMode() == int(LoginMode::None);
    return rules;
}

void UsersAdministration::search(const QString &text)
{
    if (!users_.isOpen() || !storePending())
        return;
    users_.findNearest({text});
}

bool UsersAdministration::changePassword(const QString &password, const QString &repeated)
{
    if (!rules().mayChangePassword)
        return false;
    if (password != repeated) {
        prompt_.warning(UsersMessage::PasswordsDiffer);
        return false;
    }
    if (const int room = TextFieldSize(users_, UsersField::Password); room > 0 && password.size() > room) {
        prompt_.warning(UsersMessage::TooLong(QString::fromUtf8("Hasło"), room));
        return false;
    }
    EnsureEditing(users_);
    users_.setString(UsersField::Password, password);
    if (!storePending())
        return false;
    prompt_.information(UsersMessage::PasswordChanged);
    return true;
}

void UsersAdministration::startNewUser()
{
    if (!rules().mayAddUsers || !storePending())
        throw Abort{};
    users_.append();
}

UsersAdministration::NewUserOutcome UsersAdministration::finishNewUser(const NewUser &user)
{
    if (RemoveSpaces(user.login).isEmpty()) {
        abandonNewUser();
        return NewUserOutcome::Discarded;
    }
    const QList<std::pair<QString, QString>> texts{{UsersField::Login, user.login},
                                                   {UsersField::Name, user.name},
                                                   {UsersField::Location, user.location},
                                                   {UsersField::Phone, user.phone},
                                                   {UsersField::Department, user.department}};
    for (const auto &[field, text] : texts) {
        if (const int room = TextFieldSize(users_, field); room > 0 && text.size() > room) {
            prompt_.warning(UsersMessage::TooLong(field, room));
            return NewUserOutcome::Refused;
        }
    }
    {
        Table stored(session_);
        stored.setTableName(users_.tableName());
        stored.open();
        if (stored.findKey({user.login})) {
            prompt_.warning(UsersMessage::LoginTaken(user.login));
            return NewUserOutcome::Refused;
        }
    }
    if (user.level == kAdministrationLevel
        && !prompt_.askYesNo(UsersMessage::GrantAdministration(user.login), PromptIcon::Warning))
        return NewUserOutcome::Refused;
    if (users_.state() != TableState::Insert)
        users_.append();
    for (const auto &[field, text] : texts)
        if (users_.hasField(field))
            users_.setString(field, text);
    if (user.level)
        users_.setInteger(UsersField::ProgramLevel, *user.level);
    else
        users_.clear(UsersField::ProgramLevel);
    return PostAndFlush(users_, prompt_) ? NewUserOutcome::Stored : NewUserOutcome::Refused;
}

void UsersAdministration::abandonNewUser()
{
    if (users_.isOpen() && users_.state() == TableState::Insert)
        users_.cancel();
}

bool UsersAdministration::save()
{
    if (!rules().mayEditRow)
        return false;
    return storePending();
}

bool UsersAdministration::deleteCurrent()
{
    if (!rules().mayEditRow)
        return false;
    if (!prompt_.askYesNo(UsersMessage::DeleteQuestion(users_.asString(UsersField::Name)), PromptIcon::Warning))
        return false;
    return inScope([this] {
        users_.deleteRow();
        return true;
    });
}

UsersAdministration::ChoiceOutcome UsersAdministration::chooseLoginMode(int mode)
{
    const int stored = storedLoginMode();
    if (mode == int(LoginMode::Network)) {
        const QString loginBefore = state_.LoginName;
        state_.LoginName = NetworkUserName(systemUserName_);
        bool administratorThere = false;
        if (users_.isOpen() && storePending()) {
            Table lookup(session_);
            lookup.setTableName(users_.tableName());
            lookup.open();
            administratorThere = !state_.LoginName.isEmpty() && lookup.findKey({state_.LoginName})
                                 && EffectiveAccessLevel(lookup) == kAdministrationLevel;
        }
        if (administratorThere)
            prompt_.information(UsersMessage::ModeAtNextStart);
        else if (!prompt_.askYesNo(UsersMessage::NetworkModeQuestion(state_.LoginName), PromptIcon::Warning)) {
            // The cautious answer keeps the mode there was; it never switches the login off.
            state_.LoginName = loginBefore;
            return {stored, false};
        }
    } else if (mode == int(LoginMode::None)) {
        // Without identification everybody works with level 255: only on a second thought.
        if (stored != int(LoginMode::None)
            && !prompt_.askYesNo(UsersMessage::NoIdentificationQuestion, PromptIcon::Warning))
            return {stored, false};
        prompt_.information(UsersMessage::ModeAtNextStart);
    } else {
        if (mode == int(LoginMode::Password) && !administratorCanLogIn()) {
            prompt_.warning(UsersMessage::NoAdministratorForPasswordLogin);
            return {stored, false};
        }
        prompt_.information(UsersMessage::ModeAtNextStart);
    }
    if (stored == mode)
        return {mode, false};
    return {mode, storeMode(mode)};
}

void UsersAdministration::storeChosenMode(int mode)
{
    if (storedLoginMode() == mode)
        return;
    if (mode == int(LoginMode::Password) && !administratorCanLogIn()) {
        prompt_.warning(UsersMessage::NoAdministratorForPasswordLogin);
        return;
    }
    storeMode(mode);
}

bool UsersAdministration::storeMode(int mode)
{
    try {
        return StoreLoginMode(parameters_, mode, prompt_);
    } catch (const Abort &) {
        return false;
    }
}

bool UsersAdministration::administratorCanLogIn()
{
    Table stored(session_);
    if (!OpenUsersTable(stored))
        return false;
    const int room = TextFieldSize(stored, UsersField::Password);
    for (stored.first(); !stored.eof(); stored.next()) {
        if (EffectiveAccessLevel(stored) == kAdministrationLevel
            && !RemoveSpaces(stored.asString(UsersField::Login)).isEmpty()
            && CanBeTyped(stored.asString(UsersField::Password), room))
            return true;
    }
    return false;
}

// A login changed in the grid to one that another user has is refused with the new-user dialog's
// message, before the table refuses the duplicate key.
void UsersAdministration::refuseTakenLogin(const Table &table)
{
    if (table.state() != TableState::Edit)
        return;
    const QString login = table.asString(UsersField::Login);
    Table stored(session_);
    stored.setTableName(table.tableName());
    stored.open();
    if (!stored.findKey({login}) || stored.bookmark() == table.bookmark())
        return;
    prompt_.warning(UsersMessage::LoginTaken(login));
    throw Abort{};
}

// Before a row is stored or deleted: whether it is an administrator as stored now. Outside a
// transaction scope this is also the moment to refuse: the stored rows are read afresh, not as
// this window last showed them.
void UsersAdministration::noteStoredAdministrator(const Table &table, bool deleting)
{
    storedAdministrator_ = false;
    if (table.state() == TableState::Insert)
        return;
    Table stored(session_);
    stored.setTableName(table.tableName());
    stored.open();
    storedAdministrator_ = stored.gotoBookmark(table.bookmark()) && EffectiveAccessLevel(stored) == kAdministrationLevel;
    if (!storedAdministrator_ || TransactionScope::active())
        return;
    if (!deleting && EffectiveAccessLevel(table) == kAdministrationLevel)
        return;
    const Bookmark row = table.bookmark();
    for (stored.first(); !stored.eof(); stored.next())
        if (stored.bookmark() != row && EffectiveAccessLevel(stored) == kAdministrationLevel)
            return;
    prompt_.warning(UsersMessage::LastAdministrator);
    throw Abort{};
}

// After an administrator's row was stored or deleted inside a transaction scope: some user of
// level 255 must remain, counted on the rows of that same transaction.
void UsersAdministration::checkAdministratorRemains()
{
    if (!storedAdministrator_ || !TransactionScope::active())
        return;
    storedAdministrator_ = false;
    Table stored(session_);
    stored.setTableName(users_.tableName());
    stored.open();
    for (stored.first(); !stored.eof(); stored.next())
        if (EffectiveAccessLevel(stored) == kAdministrationLevel)
            return;
    prompt_.warning(UsersMessage::LastAdministrator);
    throw Abort{};
}
