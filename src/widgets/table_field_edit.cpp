#include "widgets/table_field_edit.h"

#include <QPlainTextEdit>

#include "base/prompt.h"
#include "store/table_edit_helpers.h"

#include <QSignalBlocker>
#include <QTimer>

int FieldCharacterLimit(const Table &table, const QString &field)
{
    try {
        if (!table.isOpen())
            return 0;
        for (const FieldDef &def : table.fields())
            if (def.name.compare(field, Qt::CaseInsensitive) == 0)
                return def.type == FieldType::Text ? def.size : 0;
    } catch (const EngineError &) {
    }
    return 0;
}

FieldBinding::FieldBinding(Table &table, const QString &field) : table_(table), field_(field)
{
    table_.addListener(this);
}

FieldBinding::~FieldBinding()
{
    table_.removeListener(this);
}

void FieldBinding::setField(const QString &field)
{
    field_ = field;
    reload();
}

void FieldBinding::setInputCleanup(InputCleanup cleanup)
{
    cleanup_ = std::move(cleanup);
    reload();
}

// A control whose window checks the typed text itself (and says what is wrong with it) takes
// what is typed; the others take no more than the field holds.
int FieldBinding::lengthLimit() const
{
    return cleanup_ || check_ ? 0 : FieldCharacterLimit(table_, field_);
}

void FieldBinding::setInputCheck(InputCheck check)
{
    check_ = std::move(check);
    limitLength(lengthLimit());
}

void FieldBinding::reload()
{
    // The control takes no more than the field holds: nothing typed is cut when it is stored.
    limitLength(lengthLimit());
    QString text;
    try {
        if (table_.isOpen())
            text = table_.displayText(field_);
    } catch (const EngineError &) {
    }
    pending_ = false;
    showText(text);
}

bool FieldBinding::commit()
{
    if (!pending_)
        return true;
    if (!takesTyping()) {
        reload();
        return true;
    }
    // A message takes the focus from the control, which asks to commit again: that second ask
    // waits for the answer to the first instead of showing the message once more.
    if (committing_)
        return false;
    committing_ = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{committing_};
    const QString typed = cleanup_ ? cleanup_(shownText()) : shownText();
    try {
        if (table_.isOpen() && table_.asString(field_) == typed) {
            pending_ = false;
            return true;
        }
        // A window's own check speaks first; a text longer than the field is refused either way.
        QString problem = check_ ? check_(typed) : QString();
        if (const int size = FieldCharacterLimit(table_, field_); problem.isEmpty() && size > 0 && typed.size() > size)
            problem = QStringLiteral("Tekst jest za długi: pole mieści najwyżej %1 znaków.").arg(size);
        if (!problem.isEmpty()) {
            if (prompt_)
                prompt_->warning(problem);
            if (restoreWhenRefused_) {
                reload();
                refusedByCheck();
            }
            return false;
        }
        EnsureEditing(table_);
        pending_ = false;
        table_.setString(field_, typed);
        committed();
        return true;
    } catch (const Abort &) {
        // A rule refused the text (and said why, when it has something to say).
        reload();
        return false;
    } catch (const EngineError &error) {
        // The field refuses this text whatever happens next: it is said once and the stored value
        // comes back, so leaving the control does not bring the same message again.
        if (prompt_)
            prompt_->error(error.message());
        reload();
        return false;
    }
}

void FieldBinding::tableChanged(Table &, TableChange change)
{
    // A text being typed stays while the row takes other values; moving to another row drops it.
    if (change == TableChange::State || (change == TableChange::Data && pending_))
        return;
    reload();
}

// --- TableFieldEdit ----------------------------------------------------------------------------

void TableFieldEdit::refusedByCheck()
{
    // Once the message has gone, the field has the focus and its text selected, to be typed again.
    QTimer::singleShot(0, this, [this] {
        setFocus();
        selectAll();
    });
}

TableFieldEdit::TableFieldEdit(Table &table, const QString &field, QWidget *parent)
    : QLineEdit(parent), FieldBinding(table, field)
{
    connect(this, &QLineEdit::textEdited, this, [this] { markTyped(); });
    connect(this, &QLineEdit::editingFinished, this, [this] { commit(); });
    reload();
}

QString TableFieldEdit::shownText() const
{
    // A masked edit left blank shows only its separators.
    const QString typed = text();
    if (!inputMask().isEmpty() && !std::any_of(typed.begin(), typed.end(), [](QChar c) { return c.isLetterOrNumber(); }))
        return QString();
    return typed;
}

void TableFieldEdit::showText(const QString &text)
{
    const QSignalBlocker quiet(this);
    setText(text);
    setCursorPosition(0);
}

void TableFieldEdit::limitLength(int characters)
{
    if (inputMask().isEmpty())
        setMaxLength(characters > 0 ? characters : 32767);
}

void TableFieldEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

// --- TableFieldCombo ---------------------------------------------------------------------------

TableFieldCombo::TableFieldCombo(Table &table, const QString &field, QWidget *parent)
    : QComboBox(parent), FieldBinding(table, field)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::textActivated, this, [this] {
        markTyped();
        commit();
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { markTyped(); });
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] { commit(); });
    reload();
}

void TableFieldCombo::setEntries(const QStringList &entries)
{
    const QString shown = currentText();
    const QSignalBlocker quiet(this);
    clear();
    addItems(entries);
    setEditText(shown);
}

void TableFieldCombo::setEntries(const QStringList &codes, const QStringList &names)
{
    codedEntries_ = true;
    if (lineEdit())
        lineEdit()->setMaxLength(32767); // the names shown are longer than the codes stored
    const QString shown = currentText();
    const QSignalBlocker quiet(this);
    clear();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const QString name = names.value(i).trimmed();
        addItem(name.isEmpty() ? codes[i] : codes[i] + QStringLiteral("  ") + name, codes[i]);
    }
    setEditText(shown);
}

// A chosen entry gives its code; a typed text is taken as it stands.
QString TableFieldCombo::shownText() const
{
    const QString text = currentText();
    const int entry = findText(text);
    if (entry >= 0 && itemData(entry).isValid())
        return itemData(entry).toString();
    return text;
}

void TableFieldCombo::showText(const QString &text)
{
    const QSignalBlocker quiet(this);
    setEditText(text);
}

void TableFieldCombo::limitLength(int characters)
{
    if (lineEdit() && !codedEntries_)
        lineEdit()->setMaxLength(characters > 0 ? characters : 32767);
}

void TableFieldCombo::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    commit();
}

void SetBoundControlsReadOnly(const QList<FieldBinding *> &bindings)
{
    for (FieldBinding *binding : bindings) {
        if (auto *line = dynamic_cast<QLineEdit *>(binding))
            line->setReadOnly(true);
        else if (auto *text = dynamic_cast<QPlainTextEdit *>(binding))
            text->setReadOnly(true);
        else if (auto *widget = dynamic_cast<QWidget *>(binding))
            widget->setEnabled(false);
    }
}

int WidestAmountWidth(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("-999 999 999 999,99"));
}
