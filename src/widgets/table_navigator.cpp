#include "widgets/table_navigator.h"

#include "base/prompt.h"
#include "store/table.h"
#include "widgets/table_model.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

QString GlyphOf(TableNavigator::Button button)
{
    using B = TableNavigator::Button;
    switch (button) {
    case B::First: return QStringLiteral("|◀");
    case B::Prior: return QStringLiteral("◀");
    case B::Next: return QStringLiteral("▶");
    case B::Last: return QStringLiteral("▶|");
    case B::Insert: return QStringLiteral("+");
    case B::Delete: return QStringLiteral("−");
    case B::Edit: return QStringLiteral("▲");
    case B::Post: return QStringLiteral("✓");
    case B::Cancel: return QStringLiteral("✗");
    case B::Refresh: return QStringLiteral("↻");
    }
    return {};
}

bool MovesOnly(TableNavigator::Button button)
{
    using B = TableNavigator::Button;
    return button == B::First || button == B::Prior || button == B::Next || button == B::Last || button == B::Refresh;
}

// Table listener that keeps the buttons current.
class NavigatorFollower final : public QObject, public TableListener {
public:
    NavigatorFollower(Table &table, TableNavigator &navigator)
        : QObject(&navigator), table_(table), navigator_(navigator)
    {
        table_.addListener(this);
    }
    ~NavigatorFollower() override { table_.removeListener(this); }
    void tableChanged(Table &, TableChange) override { navigator_.updateButtons(); }

private:
    Table &table_;
    TableNavigator &navigator_;
};

} // namespace

TableNavigator::TableNavigator(TableModel &model, Prompt &prompt, const QList<Entry> &buttons, QWidget *parent)
    : QWidget(parent), model_(model), prompt_(prompt)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const Entry &entry : buttons) {
        auto *button = new QToolButton(this);
        button->setText(GlyphOf(entry.button));
        button->setToolTip(entry.hint);
        // Reached with Tab from the grid (Space presses it), never taken by a click.
        button->setFocusPolicy(Qt::TabFocus);
        button->setMinimumWidth(28);
        layout->addWidget(button);
        buttons_.append({entry.button, button});
        connect(button, &QToolButton::clicked, this, [this, which = entry.button] { run(which); });
    }
    layout->addStretch();
    new NavigatorFollower(model.table(), *this);
    updateButtons();
}

Table &TableNavigator::table() const
{
    return model_.table();
}

QToolButton *TableNavigator::button(Button button) const
{
    for (const auto &[which, control] : buttons_)
        if (which == button)
            return control;
    return nullptr;
}

void TableNavigator::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    updateButtons();
}

void TableNavigator::updateButtons()
{
    const Table &t = table();
    const bool open = t.isOpen();
    const bool editing = open && (t.state() == TableState::Edit || t.state() == TableState::Insert);
    const bool hasRows = open && model_.rowCount() > 0;
    for (const auto &[which, control] : buttons_) {
        bool enabled = open;
        switch (which) {
        case Button::Insert: enabled = open && !readOnly_; break;
        case Button::Delete: enabled = hasRows && !readOnly_; break;
        case Button::Edit: enabled = hasRows && !editing && !readOnly_; break;
        case Button::Post:
        case Button::Cancel: enabled = editing && !readOnly_; break;
        default: enabled = open && (MovesOnly(which) || !readOnly_); break;
        }
        control->setEnabled(enabled);
    }
}

void TableNavigator::run(Button button)
{
    Table &t = table();
    if (!t.isOpen() || (readOnly_ && !MovesOnly(button)))
        return;
    try {
        switch (button) {
        case Button::First: if (model_.postPending()) t.first(); break;
        case Button::Prior: if (model_.postPending()) t.prior(); break;
        case Button::Next: if (model_.postPending()) t.next(); break;
        case Button::Last: if (model_.postPending()) t.last(); break;
        case Button::Refresh: if (model_.postPending()) t.refresh(); break;
        case Button::Insert:
            if (model_.appendRow())
                emit inserted();
            break;
        case Button::Delete:
            if (model_.rowCount() > 0 && prompt_.askYesNo(QStringLiteral("Usunąć rekord?"), PromptIcon::Question))
                t.deleteRow();
            break;
        case Button::Edit: t.edit(); break;
        case Button::Post: model_.postPending(); break;
        case Button::Cancel: t.cancel(); break;
        }
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
    updateButtons();
}
