#include "print/report_form.h"

#include "store/display_format.h"
#include "store/table.h"

#include <algorithm>
#include <stdexcept>

double FormPage::paperWidth() const
{
    const double shortSide = paper == PaperSize::A4 ? 210.0 : 215.9;
    const double longSide = paper == PaperSize::A4 ? 297.0 : 279.4;
    return orientation == PageOrientation::Portrait ? shortSide : longSide;
}

double FormPage::paperHeight() const
{
    const double shortSide = paper == PaperSize::A4 ? 210.0 : 215.9;
    const double longSide = paper == PaperSize::A4 ? 297.0 : 279.4;
    return orientation == PageOrientation::Portrait ? longSide : shortSide;
}

// --- Records -----------------------------------------------------------------------------------

RecordList::RecordList(QList<Row> rows)
{
    for (const Row &row : rows)
        append(row);
}

void RecordList::append(const Row &row)
{
    Row upper;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        upper.insert(it.key().toUpper(), it.value());
    rows_.append(upper);
}

QVariant RecordList::value(const QString &field) const
{
    if (position_ < 0 || position_ >= rows_.size())
        return {};
    return rows_.at(position_).value(field.toUpper());
}

QVariant TableRecord::value(const QString &field) const
{
    if (!table_.isOpen() || !table_.hasField(field) || (table_.eof() && table_.bof()))
        return {};
    return table_.value(field);
}

QVariant TableDataSet::value(const QString &field) const
{
    if (!table_.isOpen() || !table_.hasField(field))
        return {};
    return table_.value(field);
}

void TableDataSet::first()
{
    if (table_.isOpen())
        table_.first();
}

void TableDataSet::next()
{
    table_.next();
}

bool TableDataSet::eof() const
{
    return !table_.isOpen() || table_.eof() || table_.isEmpty();
}

// --- Building ----------------------------------------------------------------------------------

FormElement &FormBand::add(FormElement element)
{
    elements.push_back(std::move(element));
    return elements.back();
}

ReportForm::ReportForm(QString formName) : name(std::move(formName)) {}

FormBand &ReportForm::addBand(BandKind kind, double height, const QString &bandName)
{
    FormBand band;
    band.name = bandName;
    band.kind = kind;
    band.height = height;
    bands.push_back(std::move(band));
    return bands.back();
}

FormElement *ReportForm::element(const QString &elementName)
{
    for (FormBand &band : bands)
        for (FormElement &element : band.elements)
            if (!element.name.isEmpty() && element.name.compare(elementName, Qt::CaseInsensitive) == 0)
                return &element;
    return nullptr;
}

const FormElement *ReportForm::element(const QString &elementName) const
{
    return const_cast<ReportForm *>(this)->element(elementName);
}

FormBand *ReportForm::band(const QString &bandName)
{
    for (FormBand &band : bands)
        if (!band.name.isEmpty() && band.name.compare(bandName, Qt::CaseInsensitive) == 0)
            return &band;
    return nullptr;
}

FormElement &ReportForm::required(const QString &elementName)
{
    FormElement *found = element(elementName);
    if (!found)
        throw std::out_of_range("form " + name.toStdString() + " has no element " + elementName.toStdString());
    return *found;
}

void ReportForm::setCaption(const QString &elementName, const QString &text)
{
    required(elementName).caption = text;
}

QString ReportForm::caption(const QString &elementName) const
{
    return const_cast<ReportForm *>(this)->required(elementName).caption;
}

void ReportForm::setEnabled(const QString &elementName, bool enabled)
{
    required(elementName).enabled = enabled;
}

bool ReportForm::isEnabled(const QString &elementName) const
{
    return const_cast<ReportForm *>(this)->required(elementName).enabled;
}

namespace {

// An element of this kind at this place; each kind below adds what it needs.
FormElement Placed(ElementKind kind, double left, double top, double width = 0, double height = 0)
{
    FormElement e;
    e.kind = kind;
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
    return e;
}

FormElement PlacedText(ElementKind kind, double left, double top, double width, FormFont font, FormAlign align)
{
    FormElement e = Placed(kind, left, top, width);
    e.font = std::move(font);
    e.align = align;
    return e;
}

FormElement PlacedLine(ElementKind kind, double left, double top, double width, double height, double penWidth)
{
    FormElement e = Placed(kind, left, top, width, height);
    e.penWidth = penWidth;
    return e;
}

} // namespace

FormElement Label(const QString &name, const QString &caption, double left, double top, double width, FormFont font,
                  FormAlign align)
{
    FormElement e = PlacedText(ElementKind::Label, left, top, width, std::move(font), align);
    e.name = name;
    e.caption = caption;
    return e;
}

FormElement DataText(const QString &source, const QString &field, double left, double top, double width,
                     FormFont font, FormAlign align, const QString &mask)
{
    FormElement e = PlacedText(ElementKind::DataText, left, top, width, std::move(font), align);
    e.name = source.isEmpty() ? field : source + QLatin1Char('.') + field;
    e.source = source;
    e.field = field;
    e.mask = mask;
    return e;
}

FormElement SumOf(const QString &name, const QString &field, double left, double top, double width,
                  bool resetAfterPrint, const QString &mask, FormFont font, FormAlign align)
{
    FormElement e = PlacedText(ElementKind::Sum, left, top, width, std::move(font), align);
    e.name = name;
    e.field = field;
    e.resetAfterPrint = resetAfterPrint;
    e.mask = mask;
    return e;
}

FormElement PageNumber(double left, double top, double width, FormFont font, FormAlign align)
{
    return PlacedText(ElementKind::PageNumber, left, top, width, std::move(font), align);
}

FormElement HorizontalLine(double left, double top, double width, double penWidth)
{
    return PlacedLine(ElementKind::Line, left, top, width, 0, penWidth);
}

FormElement VerticalLine(double left, double top, double height, double penWidth)
{
    return PlacedLine(ElementKind::Line, left, top, 0, height, penWidth);
}

FormElement Box(double left, double top, double width, double height, double penWidth)
{
    return PlacedLine(ElementKind::Box, left, top, width, height, penWidth);
}

// --- Values ------------------------------------------------------------------------------------

QString FormValueText(const QVariant &value, const QString &mask)
{
    if (!value.isValid())
        return QString();
    if (value.canConvert<Money>() && value.metaType() == QMetaType::fromType<Money>()) {
        const Money money = value.value<Money>();
        return mask.isEmpty() ? money.toString() : FormatDisplayNumber(mask, money);
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return mask.isEmpty() ? value.toString() : FormatDisplayNumber(mask, value.toDouble());
    default:
        return value.toString();
    }
}

namespace {

Money MoneyOf(const QVariant &value)
{
    if (!value.isValid())
        return Money();
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>();
    if (value.metaType().id() == QMetaType::QString)
        return Money::parse(value.toString()).value_or(Money());
    return Money::fromDouble(value.toDouble());
}

QStringList PageTexts(const LaidOutPage &page)
{
    QStringList texts;
    for (const PlacedItem &item : page.items)
        if (!item.text.isEmpty())
            texts.append(item.text);
    return texts;
}

// Walks the bands onto pages.
class Layouter {
public:
    explicit Layouter(ReportForm &form) : form_(form)
    {
        layout_.page = form.page;
        const FormMargins &m = form.page.margins;
        pageBottom_ = form.page.paperHeight() - m.bottom;
        for (const FormBand &band : form.bands)
            if (band.kind == BandKind::PageFooter && band.enabled)
                footerHeight_ += band.height;
    }

    FormLayout run()
    {
        for (FormBand &band : form_.bands)
            for (FormElement &element : band.elements)
                element.sum = Money();
        if (form_.beforePrint)
            form_.beforePrint(form_);
        // The hook may switch the page footer on or off.
        footerHeight_ = 0;
        for (const FormBand &band : form_.bands)
            if (band.kind == BandKind::PageFooter && band.enabled)
                footerHeight_ += band.height;

        startPage(true);
        if (hasBand(BandKind::Detail)) {
            if (form_.dataSet) {
                for (form_.dataSet->first(); !form_.dataSet->eof(); form_.dataSet->next()) {
                    printChain(BandKind::Detail, true);
                }
            } else {
                printChain(BandKind::Detail, false);
            }
        }
        printChain(BandKind::Summary, false);
        endPage();
        return std::move(layout_);
    }

private:
    bool hasBand(BandKind kind) const
    {
        for (const FormBand &band : form_.bands)
            if (band.kind == kind)
                return true;
        return false;
    }

    double contentBottom() const { return pageBottom_ - footerHeight_; }

    void startPage(bool first)
    {
        layout_.pages.append(LaidOutPage());
        y_ = form_.page.margins.top;
        printChain(BandKind::PageHeader, false, true);
        topOfBody_ = y_;
        if (first)
            printChain(BandKind::Title, false);
        printChain(BandKind::ColumnHeader, false, true);
        topOfBody_ = std::max(topOfBody_, y_);
    }

    void endPage()
    {
        y_ = contentBottom();
        for (qsizetype i = 0; i < qsizetype(form_.bands.size()); ++i) {
            FormBand &band = form_.bands[size_t(i)];
            if (band.kind != BandKind::PageFooter || !band.enabled)
                continue;
            // The footer keeps its place at the bottom even when its hook leaves it out.
            const double top = y_;
            place(band, true);
            y_ = top + band.height;
        }
    }

    // Every band of this kind, each followed by its chained child bands.
    void printChain(BandKind kind, bool record, bool fixedPlace = false)
    {
        for (size_t i = 0; i < form_.bands.size(); ++i) {
            FormBand &band = form_.bands[i];
            if (band.kind != kind)
                continue;
            if (!band.enabled)
                continue;
            printBand(band, fixedPlace);
            for (size_t c = i + 1; c < form_.bands.size() && form_.bands[c].kind == BandKind::Child; ++c) {
                if (form_.bands[c].enabled)
                    printBand(form_.bands[c], fixedPlace);
            }
            if (record)
                accumulate();
        }
    }

    void printBand(FormBand &band, bool fixedPlace)
    {
        if (band.beforePrint && !band.beforePrint(band))
            return;
        if (!fixedPlace && y_ + band.height > contentBottom() + 1e-9 && y_ > topOfBody_ + 1e-9) {
            endPage();
            startPage(false);
        }
        place(band, false);
        y_ += band.height;
    }

    // Puts the band's elements at the current place.
    void place(FormBand &band, bool footer)
    {
        if (footer && band.beforePrint && !band.beforePrint(band))
            return;
        LaidOutPage &page = layout_.pages.last();
        const double left = form_.page.margins.left;
        const FormFont &base = form_.page.baseFont;
        for (FormElement &element : band.elements) {
            if (!element.enabled)
                continue;
            PlacedItem item;
            item.kind = element.kind;
            item.name = element.name;
            item.left = left + element.left;
            item.top = y_ + element.top;
            item.width = element.width;
            item.height = element.height;
            item.align = element.align;
            item.penWidth = element.penWidth;
            item.wordWrap = element.wordWrap;
            item.linesFromTop = element.linesFromTop;
            item.font.family = element.font.family.isEmpty() ? base.family : element.font.family;
            item.font.size = element.font.size > 0 ? element.font.size : base.size;
            item.font.bold = element.font.bold;
            switch (element.kind) {
            case ElementKind::Label:
                item.text = element.caption;
                break;
            case ElementKind::DataText:
                item.text = FormValueText(valueOf(element), element.mask);
                break;
            case ElementKind::Sum:
                item.text = FormValueText(QVariant::fromValue(element.sum), element.mask);
                break;
            case ElementKind::PageNumber:
                item.text = QString::number(layout_.pages.size());
                break;
            case ElementKind::Line:
            case ElementKind::Box:
                break;
            }
            if (element.onPrint && element.kind != ElementKind::Line && element.kind != ElementKind::Box)
                element.onPrint(item.text);
            if ((element.kind == ElementKind::Line || element.kind == ElementKind::Box) || !item.text.isEmpty())
                page.items.append(item);
        }
        for (FormElement &element : band.elements)
            if (element.kind == ElementKind::Sum && element.resetAfterPrint)
                element.sum = Money();
    }

    QVariant valueOf(const FormElement &element) const
    {
        if (element.source.isEmpty())
            return form_.dataSet ? form_.dataSet->value(element.field) : QVariant();
        const FormRecord *record = form_.records.value(element.source.toUpper(), nullptr);
        if (!record)
            record = form_.records.value(element.source, nullptr);
        return record ? record->value(element.field) : QVariant();
    }

    // The record just printed counts in every sum of the form.
    void accumulate()
    {
        if (!form_.dataSet)
            return;
        for (FormBand &band : form_.bands)
            for (FormElement &element : band.elements)
                if (element.kind == ElementKind::Sum)
                    element.sum += MoneyOf(form_.dataSet->value(element.field));
    }

    ReportForm &form_;
    FormLayout layout_;
    double pageBottom_ = 0;
    double footerHeight_ = 0;
    double y_ = 0;
    double topOfBody_ = 0;
};

} // namespace

QStringList FormLayout::texts(int pageIndex) const
{
    if (pageIndex >= 0)
        return pageIndex < pages.size() ? PageTexts(pages.at(pageIndex)) : QStringList();
    QStringList all;
    for (const LaidOutPage &p : pages)
        all += PageTexts(p);
    return all;
}

FormLayout LayOutForm(ReportForm &form)
{
    return Layouter(form).run();
}
