#pragma once

#include "base/money.h"
#include "store/engine_error.h"
#include "store/row.h"
#include "store/row_query.h"
#include "store/table_definition.h"
#include "store/table_storage.h"

#include <QHash>
#include <QSet>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class Session;
class Table;
class TableConnection;

enum class TableState { Inactive, Browse, Edit, Insert };

// What a post-error handler wants done with the failed post.
enum class PostErrorAction {
    Fail,  // the error goes on to the caller
    Abort, // handled (a message was shown): the row stays in edit, Abort goes to the caller
    Retry, // try the post again
};

// What changed, for the windows that show a table.
enum class TableChange {
    DataSet, // opened, closed, refreshed, reordered, filtered, new range or master row
    Row,     // the current row moved
    Data,    // values of the current row changed (field set, post, cancel, delete)
    State,   // browse / edit / insert
};

class TableListener {
public:
    virtual ~TableListener() = default;
    virtual void tableChanged(Table &table, TableChange change) = 0;
};

// A filter that can be said in SQL: the engine hands it to SQLite, so a filtered view over a
// large table reads only its own rows. Values are always bound, never written into SQL.
struct FilterCondition {
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, StartsWith };
    QString field;
    Op op = Op::Equal;
    QVariant value;               // as given to the setters: text, number, bool, Money
    bool caseInsensitive = false; // texts compared without regard to case (Polish letters too)
};

// A remembered row; stays valid while the row exists.
struct Bookmark {
    qint64 rowId = 0;
    bool isValid() const { return rowId != 0; }
    friend bool operator==(const Bookmark &, const Bookmark &) = default;
};

// Events of a table object. Every handler is optional. Handlers of "before" events may throw
// Abort to refuse the operation; the table stays as it was and Abort reaches the caller.
struct TableEvents {
    std::function<void(Table &)> beforeInsert;
    std::function<void(Table &)> onNewRow;        // a new row was started: fill defaults
    std::function<void(Table &)> beforeEdit;
    std::function<void(Table &)> beforePost;
    std::function<void(Table &)> afterPost;
    std::function<void(Table &)> beforeCancel;
    std::function<void(Table &)> afterCancel;
    std::function<void(Table &)> beforeDelete;
    std::function<void(Table &)> afterDelete;
    std::function<void(Table &)> afterScroll;     // the current row moved
    std::function<void(Table &)> onStateChange;   // browse / edit / insert changed
    std::function<void(Table &)> onCalcFields;    // set the calculated fields of the row read
    std::function<PostErrorAction(Table &, const EngineError &)> onPostError;
    // Post and delete write inside a transaction of their own (a part of the running scope, if
    // any). beforeWrite runs in it before the row is written, while the table still edits the
    // row (or stands on the row to delete): a rule that decides whether the write is allowed
    // reads the stored rows here, after lockForWrite() on the tables it reads; the table's own
    // file is locked right after it returns. afterWrite runs in it once the row is written and
    // the table is back in browse on it: rows derived from the written one are written here and
    // reach the disk together with it. Neither may wait for a person.
    std::function<void(Table &)> beforeWrite;
    std::function<void(Table &)> afterWrite;
};

using FieldHandler = std::function<void(Table &, const QString &field)>;

// A table object and its data set: the table file it names, a current row in the order of an
// index, a key range, a link to a master table's current row, a filter, calculated fields, an
// edit buffer and events. Several table objects may work on one file at the same time (each
// with its own order, range and filter); they share one connection to it.
//
// Rows are read a page at a time through the indexes: moving, finding a key, the last row and
// the row count never load the table into memory.
class Table {
public:
    explicit Table(Session &session, const QString &objectName = QString());
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;
    ~Table();

    Session *session() const { return session_; }
    const QString &objectName() const { return objectName_; }

    // --- The table file ---------------------------------------------------------------------
    // With or without ".DB", absolute or relative to the session's working folder, "\" or "/"
    // between folders. Each part of the path is matched exactly first, then without regard to
    // case; a file that does not exist yet is created with the spelling given.
    void setTableName(const QString &name);
    const QString &tableName() const { return tableName_; }
    QString filePath() const; // the resolved path of the file, with ".DB"
    bool exists() const;

    void open();
    // Fails (Locked) while another program has the table open; other programs cannot open it
    // while it is open so.
    void openExclusive();
    void close();
    bool isOpen() const { return state_ != TableState::Inactive; }
    bool isExclusive() const { return exclusive_; }
    bool isReadOnly() const;

    // Inside a transaction scope: takes this table's file into the scope's write transaction at
    // once, so what is read from it from now on is the stored state, which no other program can
    // change before the scope ends. Outside a scope it does nothing.
    void lockForWrite();
    // The stored values of the fields asked, of the first row (in entry order) whose key fields
    // equal the values, read from the file now; nullopt when there is none. Nothing moves and
    // the view's range, link and filter do not apply. Texts compare as the index whose key
    // begins with the key fields compares them (exactly without one), or without regard to case
    // (Polish letters too) when asked. Values as value() gives them. With otherRowsOnly the row
    // the table stands on (or edits) is passed over.
    std::optional<QVariantList> storedValues(const QStringList &keyFields, const QVariantList &key,
                                             const QStringList &fields, bool ignoringCase = false,
                                             bool otherRowsOnly = false) const;
    // The stored values of the fields asked, of the row the table stands on (or edits), read
    // from the file now; nullopt when another program deleted it (or on a new row).
    std::optional<QVariantList> storedValuesOfCurrentRow(const QStringList &fields) const;

    // --- Structure ---------------------------------------------------------------------------
    // The table must be closed. Creating replaces an existing table that no program has open.
    void create(const TableDefinition &definition);
    // Fields and indexes exactly as created (open or closed table).
    TableDefinition definition() const;
    void deleteTable();
    // New name in the same folder, or a path; the table object takes the new name.
    void renameTable(const QString &newName);
    // An index of the same name (or a second primary index) replaces the old one.
    void addIndex(const IndexDef &index);
    void deleteIndex(const QString &name);
    // The engine's helper indexes (never listed in the structure) become one over each
    // auto-increment field and one over each of these lists of field names, texts compared byte
    // for byte as filters of equality compare them; others are dropped. Opening and reading never
    // build them: the commands that write in bulk call this. A read-only table is left alone.
    // step is called after each index built; returns how many were built.
    int buildHelperIndexes(const QList<QStringList> &helpers, const std::function<void()> &step = {});
    // The helper indexes the file holds, by name.
    QStringList helperIndexNames() const;
    // Appends every row the source shows (in its order, range and filter), fields matched by
    // name; with updateExisting a row whose primary key is already there is updated instead.
    // All or nothing; no events fire on this table.
    void copyRowsFrom(Table &source, bool updateExisting);
    // Every post is on disk when it returns; kept for the callers that flush after posting.
    void flush() {}

    // --- Fields ------------------------------------------------------------------------------
    // The stored fields followed by the calculated ones.
    QList<FieldDef> fields() const;
    int fieldCount() const;
    bool hasField(const QString &name) const;
    // A field computed per row, never stored (see addCalculatedField).
    bool isCalculatedField(const QString &name) const;
    // A field computed per row by the onCalcFields event; never stored. Added while closed.
    void addCalculatedField(const FieldDef &field);
    void clearCalculatedFields();

    QString asString(const QString &field) const;
    int asInteger(const QString &field) const;
    double asFloat(const QString &field) const;
    Money asMoney(const QString &field) const;
    bool asBoolean(const QString &field) const;
    bool isNull(const QString &field) const;
    // The program's value: invalid when empty, QString, int, double, bool or Money.
    QVariant value(const QString &field) const;
    // The text a window shows: the display format for numbers, else asString().
    QString displayText(const QString &field) const;
    // "### ### ##0.00" (grouped) or "0.00": "," before the decimals, spaces between groups.
    void setDisplayFormat(const QString &field, const QString &format);

    // Setters need the edit or insert state (calculated fields: inside onCalcFields). Texts are
    // cut to the field's size; an empty text empties the field. A text given to a number field
    // must be a number ("1 234,50" and "1234.5" are), else EngineError (Other).
    void setString(const QString &field, const QString &text);
    void setInteger(const QString &field, qint64 number);
    void setFloat(const QString &field, double number);
    void setMoney(const QString &field, Money amount);
    void setBoolean(const QString &field, bool flag);
    void setValue(const QString &field, const QVariant &value);
    void clear(const QString &field);

    // Called after a field's value was set, and before (the value already in place; throwing
    // Abort or EngineError puts the old value back).
    void setFieldChangeHandler(const QString &field, FieldHandler handler);
    void setFieldValidateHandler(const QString &field, FieldHandler handler);

    // --- Navigation --------------------------------------------------------------------------
    void first();
    void last();
    void next();
    void prior();
    // Moves up to count rows (negative: back); the number of rows actually moved.
    int moveBy(int count);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const;
    // Rows the view shows (range, master link and filter applied).
    int recordCount() const;
    // Reads the current row and its neighbours again (other programs' changes become visible).
    void refresh();
    Bookmark bookmark() const;
    // The stored row the table stands on: the current row, or while a new row is being typed the
    // row the table stood on before it.
    Bookmark storedBookmark() const;
    // False (and no move) when the row is gone.
    bool gotoBookmark(const Bookmark &bookmark);

    // --- Reading the view for a grid ----------------------------------------------------------
    // Up to count rows of the view (range, master link, filter, calculated fields) in its order,
    // after the row `after` (from the first row when it is invalid), or going back before it
    // (from the last row; nearest first). The current row stays where it is and no event runs
    // but the calculated fields, so a grid can show any part of a large view.
    QList<Row> peekRows(const Bookmark &after, int count, bool backward = false) const;
    // The same going forward, reading only the stored fields at the given positions (and those
    // the order needs); every other value of the rows is left empty. A long listing that prints
    // a few columns of every row reads far less this way. A view with a filter function or
    // calculated fields reads every field, as they may look at any of them.
    QList<Row> peekRows(const Bookmark &after, int count, const QList<int> &fields) const;
    // The same rows handed to visit one by one as they are read, without building them (a view
    // with a filter function or calculated fields builds them all the same); returns how many.
    int visitRows(const Bookmark &after, int count, const QList<int> &fields,
                  const std::function<void(const StoredValues &)> &visit) const;
    // Runs read with the getters (asString, displayText, value, ...) reading the given row.
    void readingRow(const Row &row, const std::function<void()> &read) const;

    // Windows stop following the table (and details stop following it) until the last
    // enableControls(), which tells them everything changed.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabledControls_ > 0; }

    // --- Order and keys ----------------------------------------------------------------------
    // "" is the primary index (or the order of entry when there is none).
    void setIndexName(const QString &name);
    QString indexName() const { return indexName_; }
    // "A;B": the order of the index whose key begins with these fields.
    void setIndexFieldNames(const QString &fields);
    QString indexFieldNames() const { return indexFieldNames_; }
    // Key fields of the current order.
    QStringList indexFields() const;
    int indexFieldCount() const;

    // Goes to the first row whose first key fields equal the values; false (no move) if none.
    bool findKey(const QVariantList &values);
    // Goes to the first row at or after the values in key order, or to the last row.
    void findNearest(const QVariantList &values);
    // Only rows whose first key fields lie between start and end (both included) are shown.
    void setRange(const QVariantList &start, const QVariantList &end);
    void cancelRange();
    // Goes to the first row (in the current order) whose field begins with the text, letters
    // compared without regard to case; false (no move) if none.
    bool locate(const QString &field, const QString &textPrefix);

    // --- Master / detail ---------------------------------------------------------------------
    // Shows only rows whose detail fields equal the master's current row's master fields, and
    // follows the master as it moves. A new row gets the master's values.
    void setMasterSource(Table *master, const QStringList &masterFields, const QStringList &detailFields);
    void clearMasterSource();
    Table *masterSource() const { return master_; }

    // --- Filters -----------------------------------------------------------------------------
    // Both apply while filtering is on; the predicate reads the candidate row through the
    // usual getters. Call refresh() when what the predicate depends on changes.
    void setFilterPredicate(std::function<bool(const Table &)> predicate);
    void setFilterConditions(const QList<FilterCondition> &conditions);
    void addFilterCondition(const FilterCondition &condition);
    void setFilterCondition(const QString &field, const QVariant &value); // adds field = value
    void clearFilterConditions();
    void setFiltered(bool filtered);
    bool filtered() const { return filtered_; }

    // --- Editing -----------------------------------------------------------------------------
    void insert();
    void append();
    // Reads the row afresh and puts it in edit; on an empty view starts a new row instead.
    void edit();
    void post();
    void cancel();
    void deleteRow();
    TableState state() const { return state_; }
    bool modified() const { return modified_; }

    TableEvents events;
    // Runs before a new row is started, a row is put in edit or deleted, whatever the events are
    // set to; it may throw Abort to refuse, and the table stays as it was.
    void setChangeGuard(std::function<void()> guard) { changeGuard_ = std::move(guard); }
    void addListener(TableListener *listener);
    void removeListener(TableListener *listener);

private:
    friend class Session;
    friend class BulkWriter;
    struct Cursor;
    struct FieldRef {
        int position = -1;   // among stored fields, or stored count + calculated index
        bool calculated = false;
    };

    // table.cpp
    QString resolvedPath(const QString &name) const;
    void openWith(bool exclusive);
    void requireOpen() const;
    void requireClosed(const char *operation) const;
    void loadStructure() const;
    const TableStructure &structure() const;
    const FieldDef &storedField(int position) const;
    template <typename Work> void withConnection(Work work) const;
    void forgetSession() { session_ = nullptr; }

    // table_fields.cpp
    FieldRef fieldRef(const QString &name) const;
    const FieldDef &fieldDefOf(const FieldRef &ref) const;
    QVariant storedValue(const FieldRef &ref) const;
    const Row *readRow() const;
    void assign(const QString &field, const QVariant &programValue);
    void assignStored(const FieldRef &ref, const QVariant &stored);
    void rebuildFieldNames();

    // table_navigation.cpp
    RowQuery query(const QList<SqlCondition> &extra = {}) const;
    std::optional<KeyBoundary> boundaryAt(const Row &row, bool inclusive) const;
    QList<Row> fetchVisible(FetchDirection direction, std::optional<KeyBoundary> boundary, int wanted,
                            bool *exhausted, const QList<SqlCondition> &extra = {}) const;
    int detailFieldPosition(int field) const;
    QByteArray masterLinkCollation(int field) const;
    std::optional<KeyBoundary> prefixSeek(int field, const QString &textPrefix) const;
    bool passesFilter(Row &row) const;
    void computeCalculated(Row &row) const;
    void showRows(QList<Row> rows, int current, bool atStart, bool atEnd);
    void showEmpty();
    void afterMove();
    void resetView();
    bool windowIsStale() const;
    void reloadAround(const Row &row);
    QList<KeyColumn> orderColumns() const;
    QList<SqlCondition> viewConditions() const;
    QList<HeldColumn> heldColumns() const;
    void reapplyView(bool keepRow);
    SqlCondition filterSql(const FilterCondition &condition) const;
    QList<SqlCondition> rangeSql() const;
    QVariantList storedKeyValues(const QVariantList &values) const;

    // table_editing.cpp
    void startNewRow();
    void checkBrowseMode();
    void setState(TableState state);
    void writeRow();
    void writeInOwnTransaction();
    qint64 currentRowId() const;
    qint64 insertRow(TableConnection &connection, const Row &row);
    void updateRow(TableConnection &connection);
    void requireEditing(const FieldRef &ref) const;
    void checkRequiredFields() const;

    // table_links.cpp
    void notify(TableChange change);
    void notifyDetails();
    void followMaster();
    QVariantList masterValues() const;
    void fillFromMaster();

    Session *session_;
    QString objectName_;
    QString tableName_;
    std::shared_ptr<TableConnection> connection_;
    bool exclusive_ = false;
    TableState state_ = TableState::Inactive;

    mutable std::unique_ptr<TableStructure> structure_;
    mutable quint64 structureSeen_ = 0;
    QList<FieldDef> calculatedFields_;
    QHash<QString, FieldRef> fieldNames_;
    QHash<QString, QString> displayFormats_;
    QHash<QString, FieldHandler> changeHandlers_;
    QHash<QString, FieldHandler> validateHandlers_;

    QString indexName_;
    QString indexFieldNames_;
    bool rangeActive_ = false;
    QVariantList rangeStart_;
    QVariantList rangeEnd_;

    Table *master_ = nullptr;
    QStringList masterFields_;
    QStringList detailFields_;
    QList<Table *> details_;
    std::optional<QVariantList> appliedMasterValues_;

    std::function<bool(const Table &)> filterPredicate_;
    QList<FilterCondition> filterConditions_;
    bool filtered_ = false;

    // The rows around the current one, as last read.
    QList<Row> window_;
    int current_ = -1;
    bool windowAtStart_ = false; // nothing before window_.first()
    bool windowAtEnd_ = false;   // nothing after window_.last()
    quint64 windowChangeCount_ = 0;
    bool bof_ = true;
    bool eof_ = true;
    int pageSize_ = 0;

    Row editRow_;
    QSet<int> changedFields_;
    bool modified_ = false;
    Bookmark beforeInsert_;
    bool inCalcFields_ = false;
    mutable const Row *evaluating_ = nullptr;
    mutable Row *calculating_ = nullptr;

    std::function<void()> changeGuard_;
    int disabledControls_ = 0;
    bool changedWhileDisabled_ = false;
    QList<TableListener *> listeners_;
};
