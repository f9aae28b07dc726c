#include "widgets/table_model.h"

#include "widgets/table_field_edit.h"

#include "base/money.h"
#include "base/prompt.h"
#include "store/table_edit_helpers.h"

#include <QMetaObject>

namespace {

// Rows read at a time; a grid shows a few dozen, so one page covers a screen and its neighbours.
constexpr int kPageSize = 128;

bool IsNumberType(FieldType type)
{
    return type == FieldType::Currency || type == FieldType::Float || type == FieldType::Integer
           || type == FieldType::SmallInt || type == FieldType::AutoIncrement;
}

std::optional<FieldType> TypeOf(const Table &table, const QString &field)
{
    if (!table.isOpen())
        return std::nullopt;
    for (const FieldDef &def : table.fields())
        if (def.name.compare(field, Qt::CaseInsensitive) == 0)
            return def.type;
    return std::nullopt;
}

bool IsEditing(const Table &table)
{
    return table.state() == TableState::Edit || table.state() == TableState::Insert;
}

} // namespace

TableModel::TableModel(Table &table, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns))
{
    table_.addListener(this);
}

TableModel::~TableModel()
{
    table_.removeListener(this);
}

int TableModel::columnOf(const QString &field) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TableModel::setColumnReadOnly(const QString &field, bool readOnly)
{
    if (const int column = columnOf(field); column >= 0)
        columns_[column].readOnly = readOnly;
}

void TableModel::setColumnVisible(const QString &field, bool visible)
{
    const int column = columnOf(field);
    if (column < 0 || columns_[column].visible == visible)
        return;
    columns_[column].visible = visible;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TableModel::setColumnWidth(const QString &field, int width)
{
    const int column = columnOf(field);
    if (column < 0 || columns_[column].width == width)
        return;
    columns_[column].width = width;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TableModel::setPickList(const QString &field, const QStringList &entries, const QStringList &names)
{
    if (const int column = columnOf(field); column >= 0) {
        columns_[column].pickList = entries;
        columns_[column].pickNames = names;
    }
}

void TableModel::setEditable(bool editable)
{
    if (editable_ == editable)
        return;
    editable_ = editable;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {});
}

// --- Rows --------------------------------------------------------------------------------------

int TableModel::storedRowCount() const
{
    if (!count_)
        count_ = table_.isOpen() ? table_.recordCount() : 0;
    return *count_;
}

bool TableModel::showsNewRow() const
{
    return table_.isOpen() && table_.state() == TableState::Insert && !storedOnly_;
}

bool TableModel::rowIsInsert(int row) const
{
    return showsNewRow() && row == storedRowCount();
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !table_.isOpen())
        return 0;
    return storedRowCount() + (showsNewRow() ? 1 : 0);
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

int TableModel::lastPage() const
{
    return storedRowCount() == 0 ? -1 : (storedRowCount() - 1) / kPageSize;
}

void TableModel::storePage(int page, QList<Row> rows) const
{
    for (int i = 0; i < rows.size(); ++i)
        positions_.insert(rows[i].rowId, page * kPageSize + i);
    pages_.insert(page, std::move(rows));
}

// A page is read from a neighbour already read (keyed reading continues from its edge row), or
// from whichever end of the view is nearer; the pages in between are read on the way.
void TableModel::loadPage(int page) const
{
    if (pages_.contains(page) || page < 0 || page > lastPage())
        return;
    int below = page - 1;
    while (below >= 0 && !pages_.contains(below))
        --below;
    int above = page + 1;
    while (above <= lastPage() && !pages_.contains(above))
        ++above;
    const int fromBelow = below >= 0 ? page - below : page + 1;
    const int fromAbove = above <= lastPage() ? above - page : lastPage() - page + 1;
    if (fromBelow <= fromAbove) {
        int next = below >= 0 ? below + 1 : 0;
        if (below < 0) {
            storePage(0, table_.peekRows({}, kPageSize));
            next = 1;
        }
        for (; next <= page; ++next) {
            const QList<Row> &previous = pages_[next - 1];
            if (previous.isEmpty())
                return;
            storePage(next, table_.peekRows({previous.last().rowId}, kPageSize));
        }
        return;
    }
    int next = above <= lastPage() ? above - 1 : lastPage();
    if (above > lastPage()) {
        const int lastSize = storedRowCount() - lastPage() * kPageSize;
        QList<Row> rows = table_.peekRows({}, lastSize, true);
        std::reverse(rows.begin(), rows.end());
        storePage(lastPage(), std::move(rows));
        next = lastPage() - 1;
    }
    for (; next >= page; --next) {
        const QList<Row> &following = pages_[next + 1];
        if (following.isEmpty())
            return;
        QList<Row> rows = table_.peekRows({following.first().rowId}, kPageSize, true);
        std::reverse(rows.begin(), rows.end());
        storePage(next, std::move(rows));
    }
}

const Row *TableModel::rowAt(int row) const
{
    if (row < 0 || row >= storedRowCount())
        return nullptr;
    const int page = row / kPageSize;
    loadPage(page);
    const auto it = pages_.constFind(page);
    if (it == pages_.constEnd() || row % kPageSize >= it->size())
        return nullptr;
    return &(*it)[row % kPageSize];
}

// The current row is searched from both ends of the view, where the program usually puts it.
int TableModel::positionOf(qint64 rowId) const
{
    if (const auto it = positions_.constFind(rowId); it != positions_.constEnd())
        return *it;
    for (int low = 0, high = lastPage(); low <= high; ++low, --high) {
        loadPage(high);
        if (const auto it = positions_.constFind(rowId); it != positions_.constEnd())
            return *it;
        loadPage(low);
        if (const auto it = positions_.constFind(rowId); it != positions_.constEnd())
            return *it;
    }
    return -1;
}

int TableModel::currentRow() const
{
    if (!table_.isOpen())
        return -1;
    if (showsNewRow())
        return storedRowCount();
    const Bookmark current = table_.storedBookmark();
    return current.isValid() ? positionOf(current.rowId) : -1;
}

Bookmark TableModel::bookmarkAt(int row) const
{
    const Row *stored = rowAt(row);
    return stored ? Bookmark{stored->rowId} : Bookmark{};
}

bool TableModel::readsTableDirectly(int row) const
{
    if (rowIsInsert(row))
        return true;
    if (table_.state() != TableState::Edit || storedOnly_)
        return false;
    const Row *stored = rowAt(row);
    return stored && stored->rowId == table_.bookmark().rowId;
}

void TableModel::reload()
{
    beginResetModel();
    count_.reset();
    pages_.clear();
    positions_.clear();
    types_.reset();
    endResetModel();
    announceCurrentRow();
}

// --- Cells -------------------------------------------------------------------------------------

std::optional<FieldType> TableModel::typeOf(int column) const
{
    if (!types_) {
        types_.emplace();
        for (const GridColumn &described : columns_)
            types_->append(TypeOf(table_, described.field));
    }
    return types_->value(column);
}

QVariant TableModel::cellText(int columnIndex, int role) const
{
    const GridColumn &column = columns_[columnIndex];
    if (column.shownAs)
        return column.shownAs(table_.asString(column.field));
    if (role == Qt::EditRole) {
        const std::optional<FieldType> type = typeOf(columnIndex);
        if (type == FieldType::Currency && !table_.isNull(column.field))
            return table_.asMoney(column.field).toString();
        return table_.asString(column.field);
    }
    return table_.displayText(column.field);
}

QVariant TableModel::cellValue(int row, int columnIndex, int role) const
{
    const GridColumn &column = columns_[columnIndex];
    QVariant result;
    const auto read = [&] {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            result = cellText(columnIndex, role);
        } else if (role == Qt::BackgroundRole && cellColour_) {
            if (const std::optional<QColor> colour = cellColour_(table_, column.field))
                result = *colour;
        }
    };
    try {
        if (readsTableDirectly(row)) {
            read();
        } else if (const Row *stored = rowAt(row)) {
            table_.readingRow(*stored, read);
        }
    } catch (const EngineError &) {
        return {}; // a field the table lacks shows nothing
    }
    return result;
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= columns_.size() || !table_.isOpen())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::BackgroundRole:
        return cellValue(index.row(), index.column(), role);
    case Qt::TextAlignmentRole: {
        const std::optional<FieldType> type = typeOf(index.column());
        const bool number = type && IsNumberType(*type) && !columns_[index.column()].shownAs;
        const Qt::Alignment horizontal = number ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn &column = columns_[section];
    if (role == Qt::DisplayRole)
        return column.title.isEmpty() ? column.field : column.title;
    if (role == GroupRole)
        return column.group;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // A worked-out column (no stored field behind it) is never typed into.
    const GridColumn &column = columns_[index.column()];
    if (editable_ && !column.readOnly && !table_.isReadOnly() && !table_.isCalculatedField(column.field))
        result |= Qt::ItemIsEditable;
    return result;
}

bool TableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const GridColumn &column = columns_[index.column()];
    const QString text = value.toString();
    if (column.pickListOnly && !text.isEmpty() && !column.pickList.contains(text))
        return false;
    if (column.check) {
        if (const QString problem = column.check(text); !problem.isEmpty()) {
            report(problem, true);
            return false;
        }
    }
    return writeCell(index.row(), column, column.storedAs ? column.storedAs(text) : text);
}

// The cell's row becomes current and goes into edit, then the field takes the text; the row is
// stored when the grid leaves it (or by the window's save command).
bool TableModel::writeCell(int row, const GridColumn &column, const QString &text)
{
    try {
        if (!rowIsInsert(row) && currentRow() != row && !moveTo(row))
            return false;
        if (unchanged(column.field, text))
            return true;
        if (const int size = FieldCharacterLimit(table_, column.field); size > 0 && text.size() > size) {
            report(QStringLiteral("Tekst jest za długi: pole mieści najwyżej %1 znaków.").arg(size), true);
            return false;
        }
        EnsureEditing(table_);
        table_.setString(column.field, text);
        return true;
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        report(error.message());
    }
    return false;
}

// The editor gives back the text it was given when the user changed nothing: the row is then
// left as it is, not put into edit.
bool TableModel::unchanged(const QString &field, const QString &text) const
{
    if (table_.asString(field) == text)
        return true;
    return TypeOf(table_, field) == FieldType::Currency && !table_.isNull(field)
           && Money::parse(text) == table_.asMoney(field);
}

bool TableModel::postPending()
{
    if (!table_.isOpen() || !IsEditing(table_))
        return true;
    try {
        if (table_.state() == TableState::Insert && !table_.modified()) {
            table_.cancel();
            return true;
        }
        if (prompt_)
            return PostAndFlush(table_, *prompt_);
        table_.post();
        return true;
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        report(error.message());
    }
    announceCurrentRow();
    return false;
}

bool TableModel::appendRow()
{
    if (!table_.isOpen() || !postPending())
        return false;
    try {
        table_.insert();
        return true;
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        report(error.message());
    }
    return false;
}

bool TableModel::moveTo(int row)
{
    if (!table_.isOpen() || row < 0 || row >= rowCount())
        return false;
    if (rowIsInsert(row))
        return true;
    const Bookmark target = bookmarkAt(row);
    if (!target.isValid())
        return false;
    if (table_.bookmark() == target && !IsEditing(table_))
        return true;
    if (IsEditing(table_) && !postPending())
        return false;
    try {
        if (table_.bookmark() != target)
            table_.gotoBookmark(target);
        return true;
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        report(error.message());
    }
    announceCurrentRow();
    return false;
}

void TableModel::report(const QString &message, bool warning) const
{
    if (prompt_)
        prompt_->show(warning ? PromptIcon::Warning : PromptIcon::Error, message);
}

// --- Following the table -----------------------------------------------------------------------

void TableModel::tableChanged(Table &, TableChange change)
{
    if (change == TableChange::Row) {
        announceCurrentRow();
        return;
    }
    // A field set while the row is in edit changes only that row.
    if (change == TableChange::Data && table_.state() == TableState::Edit && count_) {
        if (const int row = currentRow(); row >= 0 && row < rowCount()) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1), {});
            return;
        }
    }
    if (change == TableChange::Data && table_.state() == TableState::Insert && count_) {
        const int row = storedRowCount();
        if (row < rowCount()) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1), {});
            return;
        }
    }
    if (change == TableChange::State && (table_.state() == TableState::Edit))
        return;
    reload();
}

// Told once, after the change that caused it has finished: a command moving the table through
// many rows makes the grid follow only where it ends.
void TableModel::announceCurrentRow()
{
    if (announcing_)
        return;
    announcing_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            announcing_ = false;
            emit currentRowChanged(currentRow());
        },
        Qt::QueuedConnection);
}
