#pragma once

#include "store/table.h"

#include <QString>
#include <functional>
#include <optional>

class Prompt;
class Session;
struct GlobalState;

// What the users window may do on its current row.
struct UsersWindowRules {
    bool mayAddUsers = false;        // "Nowy"
    bool mayChangePassword = false;  // "> zmień haslo"
    bool mayEditRow = false;         // the grid and the description fields, "Zapisz", "Kasuj"
    bool showsIdentification = false; // the choice " Sposób identyfikacji : "
};

// A user typed into the dialog "Nowy użytkownik".
struct NewUser {
    QString login;
    QString name;
    QString location;
    QString phone;
    QString department;
    std::optional<int> level; // empty when no level was chosen
};

// The rules of the users window, on its own object of the users table and the parameter row.
//
// An administrator is a user of level 255 while a login mode is set (with no identification
// everybody has level 255, so nobody administers). He adds users and edits and deletes every row
// but his own, so he cannot lower or delete himself; everybody may change his own password, the
// administrator everybody's. The last administrator of the table can be neither lowered nor
// deleted, and the password login cannot be switched on while no administrator could log in
// with it: nobody locks everybody out.
class UsersAdministration {
public:
    UsersAdministration(Session &session, Table &parameters, GlobalState &state, Prompt &prompt,
                        const QString &systemUserName);
    UsersAdministration(const UsersAdministration &) = delete;
    UsersAdministration &operator=(const UsersAdministration &) = delete;
    ~UsersAdministration();

    Table &users() { return users_; }

    // Opens the users table in its key order; false, after a message, when it does not open.
    bool open();
    // Stores what is typed into the current row, then closes the users table; false when the
    // row was not stored (the window stays open on it).
    bool storePending();
    void close();

    bool isAdministrator() const;
    bool onOwnRow() const;
    UsersWindowRules rules() const;
    // The login mode L4 as stored now.
    int storedLoginMode() const;

    // " Szukaj :": the first user whose login is not less than the text.
    void search(const QString &text);

    // "Zmień": the two passwords must agree; an empty password is accepted.
    bool changePassword(const QString &password, const QString &repeated);

    // "Nowy": a new row for the dialog "Nowy użytkownik".
    void startNewUser();
    enum class NewUserOutcome { Stored, Discarded, Refused };
    // OK of the dialog: a login of spaces only discards the row silently; a login already in the
    // table is refused with a message and the row stays for the dialog; level 255 is granted only
    // when the administrator confirms it (else the row stays too); else the row is stored.
    NewUserOutcome finishNewUser(const NewUser &user);
    // Abort of the dialog: the new row is dropped.
    void abandonNewUser();

    // "Zapisz".
    bool save();
    // "Kasuj": after the question; false when nothing was deleted (also when the user is the
    // last administrator, after a message).
    bool deleteCurrent();

    // The identification choice changed to the mode. The result is the mode the choice shows
    // afterwards, and whether the window closes (the mode was stored). A question answered "Nie"
    // leaves the mode as it was; switching the login off is asked about first.
    struct ChoiceOutcome {
        int mode;
        bool closeWindow;
    };
    ChoiceOutcome chooseLoginMode(int mode);
    // When the window is hidden: a choice that differs from L4 is stored.
    void storeChosenMode(int mode);

    // Whether a user of level 255 could log in with the password login: his login can be
    // typed and his stored password too.
    bool administratorCanLogIn();

private:
    bool storeMode(int mode);
    bool inScope(const std::function<bool()> &work);
    void refuseTakenLogin(const Table &table);
    void noteStoredAdministrator(const Table &table, bool deleting);
    void checkAdministratorRemains();

    Session &session_;
    Table &parameters_;
    GlobalState &state_;
    Prompt &prompt_;
    QString systemUserName_;
    Table users_;
    // The row being stored or deleted was an administrator as stored before the write.
    bool storedAdministrator_ = false;
};

// The messages of the users window.
namespace UsersMessage {
inline const QString PasswordsDiffer = QString::fromUtf8("Powtórzone hasło niezgodne z pierwotnym.");
inline const QString PasswordChanged = QString::fromUtf8("Hasło poprawnie zmienione.");
inline const QString ModeAtNextStart =
    QString::fromUtf8("Wybrana opcja logowania zostanie uruchomiona po ponownym włączeniu programu.");
inline const QString NoAdministratorForPasswordLogin = QString::fromUtf8(
    "Logowanie na podstawie logowania nie zostało włączone.\r"
    "W liście użytkowników brak użytkownika z poziomem uprawnień 255(administracja),\r"
    "który mógłby się zalogować swoim hasłem.");
inline const QString NoIdentificationQuestion = QString::fromUtf8(
    "Uwaga! Została wybrana opcja bez identyfikacji użytkowników.\r"
    "Po ponownym włączeniu programu każdy użytkownik będzie miał poziom uprawnień 255(administracja).\r"
    "Czy kontynuować ?");
inline const QString LastAdministrator = QString::fromUtf8(
    "Jest to ostatni użytkownik z poziomem uprawnień 255(administracja).\r"
    "Nie można go skasować ani obniżyć jego uprawnień.");
QString DeleteQuestion(const QString &name);
QString NetworkModeQuestion(const QString &loginName);
QString LoginTaken(const QString &login);
QString GrantAdministration(const QString &login);
QString TooLong(const QString &what, int length);
} // namespace UsersMessage
