#include "widgets/table_model.h"

#include "store/session.h"
#include "store/table.h"
#include "store/transaction_scope.h"
#include "widgets/table_grid.h"
#include "support/scripted_prompt.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A table of numbered rows with an amount, a calculated column and a counter of the rows the
// engine had to read (each read row is calculated once).
class TableModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        session_.setWorkingFolder(dir_.path());
        table_.setTableName(QStringLiteral("WIERSZE"));
        TableDefinition definition;
        definition.fields = {{QStringLiteral("NR"), FieldType::Integer, 0, false},
                             {QStringLiteral("NAZWA"), FieldType::Text, 20, false},
                             {QStringLiteral("KWOTA"), FieldType::Currency, 0, false}};
        IndexDef primary;
        primary.fields = {QStringLiteral("NR")};
        primary.primary = primary.unique = true;
        definition.indexes = {primary};
        table_.create(definition);
        table_.addCalculatedField({QStringLiteral("OPIS"), FieldType::Text, 30, false});
        table_.setDisplayFormat(QStringLiteral("KWOTA"), QStringLiteral("### ### ##0.00"));
        table_.events.onCalcFields = [this](Table &t) {
            ++rowsCalculated_;
            t.setString(QStringLiteral("OPIS"), QStringLiteral("nr ") + t.asString(QStringLiteral("NR")));
        };
        table_.events.afterScroll = [this](Table &) { ++scrolls_; };
        table_.open();
    }

    void fill(int rows)
    {
        TransactionScope scope;
        for (int i = 1; i <= rows; ++i) {
            table_.append();
            table_.setInteger(QStringLiteral("NR"), i);
            table_.setString(QStringLiteral("NAZWA"), QStringLiteral("wiersz %1").arg(i));
            table_.setMoney(QStringLiteral("KWOTA"), Money::fromCents(i * 10000 + 5));
            table_.post();
        }
        scope.commit();
        table_.first();
        rowsCalculated_ = 0;
        scrolls_ = 0;
    }

    std::unique_ptr<TableModel> model()
    {
        auto result = std::make_unique<TableModel>(
            table_, QList<GridColumn>{{QStringLiteral("NR")}, {QStringLiteral("NAZWA"), QStringLiteral("Nazwa")},
                                      {QStringLiteral("KWOTA")}, {QStringLiteral("OPIS")}});
        result->setPrompt(&prompt_);
        return result;
    }

    static QString Text(const TableModel &m, int row, int column)
    {
        return m.data(m.index(row, column)).toString();
    }

    QTemporaryDir dir_;
    Session session_;
    Table table_{session_, QStringLiteral("TWIERSZE")};
    ScriptedPrompt prompt_;
    int rowsCalculated_ = 0;
    int scrolls_ = 0;
};

TEST_F(TableModelTest, ShowsAnyRowOfALargeViewReadingOnlyThePagesAroundIt)
{
    fill(3000);
    const auto m = model();

    EXPECT_EQ(m->rowCount(), 3000);
    EXPECT_EQ(Text(*m, 2999, 0), "3000");
    EXPECT_EQ(Text(*m, 2999, 2), "300 000,05"); // through the display format
    EXPECT_EQ(Text(*m, 2950, 3), "nr 2951");    // calculated per row
    EXPECT_EQ(Text(*m, 0, 1), "wiersz 1");
    EXPECT_EQ(Text(*m, 130, 1), "wiersz 131");
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "Nazwa");
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "NR");
    EXPECT_LT(rowsCalculated_, 3000 / 8);

    EXPECT_EQ(Text(*m, 1700, 0), "1701");
    // The table did not move while the grid read it.
    EXPECT_EQ(table_.asInteger(QStringLiteral("NR")), 1);
    EXPECT_EQ(scrolls_, 0);
}

TEST_F(TableModelTest, FollowsTheTablesCurrentRowAndMovesItWhenTheGridDoes)
{
    fill(400);
    const auto m = model();
    QSignalSpy announced(m.get(), &TableModel::currentRowChanged);

    table_.last();
    QCoreApplication::processEvents();
    ASSERT_FALSE(announced.isEmpty());
    EXPECT_EQ(announced.last().at(0).toInt(), 399);
    EXPECT_EQ(m->currentRow(), 399);

    EXPECT_TRUE(m->moveTo(200));
    EXPECT_EQ(table_.asInteger(QStringLiteral("NR")), 201);

    // A new row shows at the end while it is inserted.
    table_.append();
    EXPECT_EQ(m->rowCount(), 401);
    EXPECT_EQ(m->currentRow(), 400);
    table_.cancel();
    EXPECT_EQ(m->rowCount(), 400);
}

// A grid showing stored rows only (a selector over a table another window edits) shows neither
// a new row nor a changed value until it is stored, and keeps its row meanwhile.
TEST_F(TableModelTest, AStoredRowsOnlyGridShowsNothingUnstored)
{
    fill(5);
    const auto m = model();
    m->setStoredRowsOnly(true);
    table_.findKey({3});
    table_.append();
    table_.setInteger(QStringLiteral("NR"), 9);
    EXPECT_EQ(m->rowCount(), 5);
    EXPECT_EQ(m->currentRow(), 2);
    table_.cancel();

    table_.edit();
    table_.setString(QStringLiteral("NAZWA"), QStringLiteral("niezapisany"));
    EXPECT_EQ(Text(*m, 2, 1), "wiersz 3");
    table_.post();
    EXPECT_EQ(Text(*m, 2, 1), "niezapisany");
}

TEST_F(TableModelTest, EditsInPlaceThroughTheTableAndItsRules)
{
    fill(10);
    const auto m = model();
    table_.events.beforePost = [this](Table &t) {
        if (t.asString(QStringLiteral("NAZWA")).isEmpty()) {
            prompt_.warning(QStringLiteral("Proszę podać nazwę."));
            throw Abort{};
        }
    };

    EXPECT_FALSE(m->flags(m->index(3, 1)) & Qt::ItemIsEditable);
    m->setEditable(true);
    ASSERT_TRUE(m->flags(m->index(3, 1)) & Qt::ItemIsEditable);

    // The cell's row becomes current and stays in edit until the grid leaves it.
    EXPECT_TRUE(m->setData(m->index(3, 1), QStringLiteral("zmieniony")));
    EXPECT_EQ(table_.state(), TableState::Edit);
    EXPECT_EQ(table_.asInteger(QStringLiteral("NR")), 4);
    EXPECT_EQ(Text(*m, 3, 1), "zmieniony");
    EXPECT_TRUE(m->moveTo(5));
    EXPECT_EQ(table_.state(), TableState::Browse);
    EXPECT_EQ(Text(*m, 3, 1), "zmieniony");

    // An unchanged amount leaves the row alone; a text that is no amount is said and refused.
    EXPECT_EQ(m->data(m->index(5, 2), Qt::EditRole).toString(), "600,05");
    EXPECT_TRUE(m->setData(m->index(5, 2), QStringLiteral("600,05")));
    EXPECT_EQ(table_.state(), TableState::Browse);
    EXPECT_FALSE(m->setData(m->index(5, 2), QStringLiteral("sześćset")));
    EXPECT_EQ(prompt_.messages().size(), 1);
    table_.cancel();

    // A rule refusing the pending edit keeps the table on its row.
    prompt_.clear();
    EXPECT_TRUE(m->setData(m->index(6, 1), QString()));
    EXPECT_FALSE(m->moveTo(8));
    EXPECT_EQ(table_.asInteger(QStringLiteral("NR")), 7);
    EXPECT_EQ(prompt_.texts(), QStringList{"Proszę podać nazwę."});
    table_.cancel();
}

TEST_F(TableModelTest, ColoursACellFromTheRowItShows)
{
    fill(300);
    const auto m = model();
    m->setCellColour([](const Table &row, const QString &field) -> std::optional<QColor> {
        if (field == QStringLiteral("KWOTA") && row.asInteger(QStringLiteral("NR")) % 2 == 0)
            return QColor(Qt::red);
        return std::nullopt;
    });

    EXPECT_EQ(m->data(m->index(249, 2), Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(m->data(m->index(250, 2), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(m->data(m->index(249, 1), Qt::BackgroundRole).isValid());
}

TEST_F(TableModelTest, AGridSelectsTheCurrentRowAndListsTheSelection)
{
    fill(50);
    TableGrid grid(model().release());
    grid.setMultiSelect(true);
    grid.resize(400, 300);

    table_.findKey({30});
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().row(), 29);

    grid.selectionModel()->select(grid.model()->index(40, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QList<Bookmark> selected = grid.selectedBookmarks();
    ASSERT_EQ(selected.size(), 2);
    EXPECT_EQ(selected[0], grid.tableModel().bookmarkAt(29));
    EXPECT_EQ(selected[1], grid.tableModel().bookmarkAt(40));
    // Selected later but higher up the list: last in the order of selection.
    grid.selectionModel()->select(grid.model()->index(5, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(grid.selectedBookmarks().first(), grid.tableModel().bookmarkAt(5));
    EXPECT_EQ(grid.selectedBookmarksInSelectionOrder(),
              (QList<Bookmark>{grid.tableModel().bookmarkAt(29), grid.tableModel().bookmarkAt(40),
                               grid.tableModel().bookmarkAt(5)}));

    grid.setCurrentIndex(grid.model()->index(10, 1));
    EXPECT_EQ(table_.asInteger(QStringLiteral("NR")), 11);
}

} // namespace
