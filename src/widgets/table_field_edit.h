#pragma once

#include "store/table.h"

#include <QComboBox>
#include <QLineEdit>
#include <functional>

class Prompt;

// How many characters a text field of the table holds; 0 for a field that is not text (or not
// stored, or not known).
int FieldCharacterLimit(const Table &table, const QString &field);

// The width, in the metrics' font, of the largest amount a field holds, "-999 999 999 999,99":
// amount fields and columns are at least this wide, plus their frame.
int WidestAmountWidth(const QFontMetrics &metrics);

// What the field controls share: the table and field they show, and how a typed text reaches
// the field.
class FieldBinding : private TableListener {
public:
    // Says what is wrong with a typed text (empty when it is fine) before the field gets it.
    using InputCheck = std::function<QString(const QString &typed)>;

    FieldBinding(Table &table, const QString &field);
    virtual ~FieldBinding();
    FieldBinding(const FieldBinding &) = delete;
    FieldBinding &operator=(const FieldBinding &) = delete;

    Table &table() const { return table_; }
    const QString &field() const { return field_; }
    void setField(const QString &field);
    void setPrompt(Prompt *prompt) { prompt_ = prompt; }
    // The control then takes texts of any length: the check, and after it the field's size, say
    // what is wrong with one.
    void setInputCheck(InputCheck check);
    // A text the check refuses is not kept for mending: the stored value comes back at once and
    // the control takes the focus again (a date, which is typed anew rather than mended).
    void restoreStoredValueWhenRefused() { restoreWhenRefused_ = true; }
    // Tidies a typed text before it is checked and stored (a tax number pasted with spaces and
    // dashes); the control then takes more than the field holds, the tidied text may not.
    using InputCleanup = std::function<QString(const QString &typed)>;
    void setInputCleanup(InputCleanup cleanup);

    // The text typed since the field was last shown goes into the field (the row put into edit
    // first). False, after a message, when the field does not take it; the text stays typed.
    bool commit();
    bool hasPendingText() const { return pending_; }
    // Shows the field's value again, dropping typed text.
    void reload();

protected:
    void markTyped() { pending_ = true; }
    virtual QString shownText() const = 0;
    virtual void showText(const QString &text) = 0;
    // After the field took a text.
    virtual void committed() {}
    // The window's check refused the typed text: the stored value is shown again, and the control
    // may take the focus back so the user types it anew.
    virtual void refusedByCheck() {}
    // False while the control is only shown (read-only or disabled): nothing it holds is stored.
    virtual bool takesTyping() const { return true; }
    // The most characters the control takes (0: no limit).
    virtual void limitLength(int characters) { (void)characters; }
    int lengthLimit() const;

private:
    void tableChanged(Table &table, TableChange change) override;

    Table &table_;
    QString field_;
    Prompt *prompt_ = nullptr;
    InputCheck check_;
    InputCleanup cleanup_;
    bool pending_ = false;
    bool committing_ = false;
    bool restoreWhenRefused_ = false;
};

// A line edit showing one field of the table's current row. What the user types goes into the
// field when he leaves the control or presses Enter.
class TableFieldEdit final : public QLineEdit, public FieldBinding {
    Q_OBJECT

public:
    TableFieldEdit(Table &table, const QString &field, QWidget *parent = nullptr);

signals:
    // The field took the typed text.
    void fieldCommitted();

protected:
    QString shownText() const override;
    void showText(const QString &text) override;
    void committed() override { emit fieldCommitted(); }
    void refusedByCheck() override;
    void limitLength(int characters) override;
    bool takesTyping() const override { return !isReadOnly() && isEnabled(); }
    void mouseDoubleClickEvent(QMouseEvent *event) override;

signals:
    void doubleClicked();
};

// Makes the bound controls show their fields without taking typing (a user who may only look):
// texts become read-only, choices disabled.
void SetBoundControlsReadOnly(const QList<FieldBinding *> &bindings);

// A drop-down list (free text allowed) showing one field of the table's current row; a choice or
// the typed text goes into the field when it is chosen or the control is left.
class TableFieldCombo final : public QComboBox, public FieldBinding {
    Q_OBJECT

public:
    TableFieldCombo(Table &table, const QString &field, QWidget *parent = nullptr);

    // The entries offered; the shown value stays.
    void setEntries(const QStringList &entries);
    // Codes offered with their names beside them ("100  Kasa"); the field takes the code.
    void setEntries(const QStringList &codes, const QStringList &names);

protected:
    QString shownText() const override;
    void showText(const QString &text) override;
    void limitLength(int characters) override;
    bool takesTyping() const override { return isEnabled(); }
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool codedEntries_ = false;
};
