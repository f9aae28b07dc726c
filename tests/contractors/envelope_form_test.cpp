#include "contractors/envelope_form.h"
#include "print/form_test_support.h"
#include "print/forms/form_painter.h"
#include "store/table.h"
#include "support/data_tree_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class EnvelopeFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withStandardTree(QStringLiteral("2019"));
        const QString file = tree.yearTable(QStringLiteral("2019"), QStringLiteral("FIN\\KONTRAHI.DB"));
        tree.addRows(file, {{{"NR", 7}, {"NAZWA1", "Hurtownia ZEFIR"}, {"UL", "ul. Prosta 1"}, {"KOD", "00-001"},
                             {"MIEJSC", "Łódź"}}});
        contractors = tree.open(file);
    }

    QString marginsFile() const { return MarginsFilePath(tree.workingFolder()); }

    DataTreeBuilder tree;
    std::unique_ptr<Table> contractors;
    RecordingFormOutput output;
};

// The address stands where the envelope's window is; an empty second line leaves its room.
TEST_F(EnvelopeFormTest, TheAddressPrintsAtOnceAtItsPlacesWithTheStoredMargins)
{
    EnvelopePrintout envelopes(*contractors, output, marginsFile());
    envelopes.print();
    ASSERT_EQ(WriteEnvelopeMargins(marginsFile(), {25, 40}), "");
    envelopes.print();
    ASSERT_EQ(output.summary(), (QStringList{"Etykieta wydruk", "Etykieta wydruk"}));

    const ReportForm &form = *envelopes.form();
    EXPECT_EQ(form.page.paper, PaperSize::Letter);
    EXPECT_EQ(form.page.orientation, PageOrientation::Landscape);
    struct Expected {
        const char *field;
        QString text;
        double left, top, size;
        bool bold;
    };
    const QList<Expected> lines{{"NAZWA1", "Hurtownia ZEFIR", 71.4, 145.5, 12, false},
                                {"UL", "ul. Prosta 1", 71.4, 161.4, 12, false},
                                {"KOD", "00-001", 74.1, 168.8, 22, true},
                                {"MIEJSC", "Łódź", 105.3, 169.9, 14, false}};
    for (int run = 0; run < 2; ++run) {
        const FormLayout &layout = output.entries[run].layout;
        ASSERT_EQ(layout.pages.size(), 1);
        EXPECT_EQ(PlacedItemNamed(layout, "NAZWA2"), nullptr);
        const double top = run == 0 ? 10 : 25;
        const double left = run == 0 ? 10 : 40;
        for (const Expected &line : lines) {
            SCOPED_TRACE(line.field);
            const PlacedItem *item = PlacedItemNamed(layout, line.field);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->text, line.text);
            EXPECT_DOUBLE_EQ(item->left, left + line.left);
            EXPECT_DOUBLE_EQ(item->top, top + line.top);
            EXPECT_EQ(item->font.family, "Arial");
            EXPECT_EQ(item->font.size, line.size);
            EXPECT_EQ(item->font.bold, line.bold);
        }
    }
}

TEST_F(EnvelopeFormTest, TheEnvelopeReadsBackFromItsPdf)
{
    const TableRecord contractor(*contractors);
    const std::unique_ptr<ReportForm> form = CreateEnvelopeForm(contractor);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("Etykieta.pdf"));
    ASSERT_TRUE(WriteFormPdf(*form, pdf));
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains("Hurtownia ZEFIR")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("00-001 +Łódź")))) << text.toStdString();

    // Each line's top is where its place says, 10 mm of the fixed margin below the paper's edge:
    // the postal code stands below the street, never over it.
    const QMultiHash<QString, QPointF> places = PdfWordPlaces(pdf);
    const QList<std::pair<QString, double>> expected{
        {"Hurtownia", 155.5}, {"ul.", 171.4}, {"00-001", 178.8}, {"Łódź", 179.9}};
    for (const auto &[word, top] : expected) {
        SCOPED_TRACE(word.toStdString());
        ASSERT_EQ(places.count(word), 1);
        EXPECT_NEAR(places.value(word).y(), top, 1.5);
    }
}

} // namespace
