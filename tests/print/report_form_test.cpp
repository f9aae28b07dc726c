#include "print/forms/form_painter.h"
#include "print/report_form.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kMask = QStringLiteral("### ### ##0.00");

// A listing of amounts: page number in the page header, the carried sum over the column, one
// 10 mm line per record, the page's own sum and the running sum in the footer.
class CarriedSumsForm {
public:
    explicit CarriedSumsForm(int records)
    {
        for (int i = 1; i <= records; ++i)
            rows.append({{"NR", i}, {"KWOTA", QVariant::fromValue(Money::fromCents(100 * i))}});
        form.dataSet = &rows;
        form.page.margins = {10, 10, 10, 25};
        FormBand &header = form.addBand(BandKind::PageHeader, 10, "naglowek");
        header.add(Label("tytul", QStringLiteral("Zestawienie"), 0, 0, 0));
        header.add(PageNumber(150, 0, 30, {}, FormAlign::Right));
        FormBand &carried = form.addBand(BandKind::ColumnHeader, 6);
        carried.add(SumOf("przeniesienie", "KWOTA", 100, 0, 40, false, kMask));
        FormBand &detail = form.addBand(BandKind::Detail, 10);
        detail.add(DataText(QString(), "NR", 0, 0, 10));
        detail.add(DataText(QString(), "KWOTA", 100, 0, 40, {}, FormAlign::Right, kMask));
        FormBand &footer = form.addBand(BandKind::PageFooter, 12);
        footer.add(SumOf("strona", "KWOTA", 60, 0, 40, true, kMask));
        footer.add(SumOf("doPrzeniesienia", "KWOTA", 100, 6, 40, false, kMask));
    }

    // The sums a page shows, by element name.
    static QString textOf(const LaidOutPage &page, const QString &name)
    {
        for (const PlacedItem &item : page.items)
            if (item.name == name)
                return item.text;
        return QStringLiteral("<none>");
    }

    RecordList rows;
    ReportForm form{QStringLiteral("zestawienie")};
};

TEST(ReportFormLayout, CarriesRunningSumsAndRestartsPageSums)
{
    // A4: 297 - 25 bottom - 12 footer = 260 mm; the body starts at 10 + 10 + 6 = 26 mm, so 23
    // lines fit on a page. 35 lines make a page and a half.
    CarriedSumsForm fixture(35);
    const FormLayout layout = LayOutForm(fixture.form);
    ASSERT_EQ(layout.pages.size(), 2);
    const LaidOutPage &first = layout.pages[0];
    const LaidOutPage &second = layout.pages[1];
    EXPECT_EQ(CarriedSumsForm::textOf(first, "przeniesienie"), "0,00");
    // Lines 1..23: 276,00; lines 24..35: 354,00; together 630,00.
    EXPECT_EQ(CarriedSumsForm::textOf(first, "strona"), "276,00");
    EXPECT_EQ(CarriedSumsForm::textOf(first, "doPrzeniesienia"), "276,00");
    EXPECT_EQ(CarriedSumsForm::textOf(second, "przeniesienie"), "276,00");
    EXPECT_EQ(CarriedSumsForm::textOf(second, "strona"), "354,00");
    EXPECT_EQ(CarriedSumsForm::textOf(second, "doPrzeniesienia"), "630,00");
    EXPECT_TRUE(layout.texts(1).contains("2"));

    // The footer stands at the bottom of each page whatever the page holds.
    for (const LaidOutPage &page : layout.pages)
        for (const PlacedItem &item : page.items)
            if (item.name == "strona")
                EXPECT_DOUBLE_EQ(item.top, 297 - 25 - 12);

    // A second run gives the same pages (sums start again at 0).
    const FormLayout again = LayOutForm(fixture.form);
    EXPECT_EQ(again.texts(), layout.texts());
}

TEST(ReportFormLayout, EmptyDataSetPrintsOnePageOfHeadersAndZeroSums)
{
    CarriedSumsForm fixture(0);
    const FormLayout layout = LayOutForm(fixture.form);
    ASSERT_EQ(layout.pages.size(), 1);
    EXPECT_EQ(CarriedSumsForm::textOf(layout.pages[0], "doPrzeniesienia"), "0,00");
}

TEST(ReportFormLayout, HooksEnabledStatesAndChainedBands)
{
    ReportForm form("dokument");
    form.page.margins = {10, 10, 10, 10};
    FormBand &title = form.addBand(BandKind::Title, 100, "kopia1");
    title.add(Label("stamp", QStringLiteral("Firma"), 0, 0, 60));
    title.add(Label("street", QString(), 0, 4, 60));
    title.add(Label("hidden", QStringLiteral("nie drukuj"), 0, 8, 60)).enabled = false;
    title.add(Label("blanked", QStringLiteral("zastąpiony"), 0, 12, 60)).onPrint = [](QString &text) { text.clear(); };
    FormBand &child = form.addBand(BandKind::Child, 100, "kopia2");
    child.add(Label("mark", QStringLiteral("KOPIA"), 0, 0, 30));
    FormBand &off = form.addBand(BandKind::Summary, 20, "off");
    off.add(Label("summary", QStringLiteral("podsumowanie"), 0, 0, 30));
    FormBand &footer = form.addBand(BandKind::PageFooter, 50, "stopka");
    footer.add(Label("footerMark", QStringLiteral("KOPIA DOLNA"), 0, 0, 30));

    int bandHooks = 0;
    form.beforePrint = [](ReportForm &f) {
        f.setEnabled("stamp", false);
        f.band("off")->enabled = false;
    };
    title.beforePrint = [&](FormBand &) {
        ++bandHooks;
        form.setCaption("street", QStringLiteral("Długa 12 "));
        return true;
    };

    const FormLayout layout = LayOutForm(form);
    ASSERT_EQ(layout.pages.size(), 1);
    EXPECT_EQ(layout.texts(), (QStringList{QStringLiteral("Długa 12 "), "KOPIA", "KOPIA DOLNA"}));
    EXPECT_EQ(bandHooks, 1);
    // The child follows its parent; the footer sits on the bottom margin.
    const QList<PlacedItem> &items = layout.pages[0].items;
    EXPECT_DOUBLE_EQ(items[0].top, 10 + 4);
    EXPECT_DOUBLE_EQ(items[1].top, 10 + 100);
    EXPECT_DOUBLE_EQ(items[2].top, 297 - 10 - 50);
    EXPECT_FALSE(form.isEnabled("stamp"));
    EXPECT_THROW(form.setCaption("no-such-label", "x"), std::out_of_range);
}

TEST(ReportFormLayout, BandTallerThanThePageDoesNotLoop)
{
    ReportForm form("wysoki");
    RecordList rows({{{"A", 1}}, {{"A", 2}}});
    form.dataSet = &rows;
    form.addBand(BandKind::Detail, 400).add(DataText(QString(), "A", 0, 0, 10));
    const FormLayout layout = LayOutForm(form);
    EXPECT_EQ(layout.pages.size(), 2);
}

TEST(ReportFormValues, DisplayMask)
{
    const struct {
        QVariant value;
        QString mask;
        QString text;
    } cases[] = {
        {QVariant::fromValue(Money::fromCents(0)), kMask, "0,00"},
        {QVariant::fromValue(Money::fromCents(123456789)), kMask, "1 234 567,89"},
        {QVariant::fromValue(Money::fromCents(-550)), kMask, "-5,50"},
        {QVariant::fromValue(Money::fromCents(1234)), QString(), "12,34"},
        {QVariant(2.5), kMask, "2,50"},
        {QVariant(QStringLiteral("Łódź")), kMask, QStringLiteral("Łódź")},
        {QVariant(), kMask, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormValueText(c.value, c.mask), c.text) << c.value.toString().toStdString();
}

TEST(ReportFormFonts, WindowsNamesResolveToInstalledTwins)
{
    EXPECT_EQ(ResolveFontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(ResolveFontFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(ResolveFontFamily("Tahoma"), "DejaVu Sans");
    EXPECT_EQ(ResolveFontFamily("Verdana"), "DejaVu Sans");
    EXPECT_EQ(ResolveFontFamily("Courier New"), "Courier New");
}

// Runs a poppler tool on the file; its standard output.
QString RunTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ReportFormPdf, PolishTextsReadBackWithEmbeddedFonts)
{
    QTemporaryDir dir;
    CarriedSumsForm fixture(35);
    fixture.form.band("naglowek")->elements.front().caption = QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ");
    const QString path = dir.filePath("zestawienie.pdf");
    QString error;
    ASSERT_TRUE(WriteFormPdf(fixture.form, path, &error)) << error.toStdString();
    const QString text = RunTool("pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(text.contains(QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("630,00")));
    EXPECT_EQ(text.count(QChar('\f')), 2);
    const QString fonts = RunTool("pdffonts", {path});
    EXPECT_TRUE(fonts.contains("LiberationSans")) << fonts.toStdString();
    // Every font embedded: the column "emb" is the fifth from the end.
    const QStringList fontLines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fontLines.isEmpty());
    for (const QString &line : fontLines) {
        const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 5) << line.toStdString();
        EXPECT_EQ(columns.at(columns.size() - 5), "yes") << line.toStdString();
    }

    // A folder that cannot take the file: false with a reason, nothing written.
    EXPECT_FALSE(WriteFormPdf(fixture.form, dir.filePath("brak/plik.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
