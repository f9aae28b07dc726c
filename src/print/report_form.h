#pragma once

#include "base/money.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>

class Table;

// A banded report form described as data: the page, the bands in the order they print and the
// elements placed on them in millimetres. The program fills the labels and switches elements and
// bands on or off, then lays the form out on pages (LayOutForm, below); the painter in
// print/forms draws the laid-out pages on a printer, a PDF file or the preview.

enum class PaperSize { A4, Letter };
enum class PageOrientation { Portrait, Landscape };
enum class FormAlign { Left, Right, Center };

// Title once at the start, page header at the top of every page, column header after each page
// header, detail once per record, child bands right after the band they are chained to (the band
// before them in the form's list), summary once at the end, page footer at the bottom of every
// page.
enum class BandKind { Title, PageHeader, ColumnHeader, Detail, Child, Summary, PageFooter };

// A label (its caption), a field of a record, SUM(field) over the records printed so far, the
// page number, a line (horizontal when its height is 0, vertical when its width is 0) or a box.
enum class ElementKind { Label, DataText, Sum, PageNumber, Line, Box };

// An empty family or a size of 0 take the form's base font.
struct FormFont {
    QString family;
    double size = 0;
    bool bold = false;
};

struct FormMargins {
    double top = 10;
    double left = 10;
    double right = 10;
    double bottom = 25;
};

struct FormPage {
    PaperSize paper = PaperSize::A4;
    PageOrientation orientation = PageOrientation::Portrait;
    FormMargins margins;
    FormFont baseFont{QStringLiteral("Arial"), 10, false};

    double paperWidth() const;  // millimetres, orientation applied
    double paperHeight() const;
};

// A row whose fields data-bound elements show. Field names are matched without regard to case.
class FormRecord {
public:
    virtual ~FormRecord() = default;
    // Invalid when the field is empty or unknown; otherwise a text, number, bool or Money.
    virtual QVariant value(const QString &field) const = 0;
};

// The records that drive the detail band, walked from the first.
class FormDataSet : public FormRecord {
public:
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
};

// Rows held in memory: a snapshot read before printing, or a fixture.
class RecordList : public FormDataSet {
public:
    using Row = QHash<QString, QVariant>;
    RecordList() = default;
    explicit RecordList(QList<Row> rows);
    void append(const Row &row);
    int size() const { return int(rows_.size()); }
    void clear() { rows_.clear(); position_ = 0; }

    QVariant value(const QString &field) const override;
    void first() override { position_ = 0; }
    void next() override { ++position_; }
    bool eof() const override { return position_ >= rows_.size(); }

private:
    QList<Row> rows_; // keys in upper case
    qsizetype position_ = 0;
};

// The current row of a table view (the view is not moved).
class TableRecord : public FormRecord {
public:
    explicit TableRecord(const Table &table) : table_(table) {}
    QVariant value(const QString &field) const override;

private:
    const Table &table_;
};

// A table view in its order, range and filter; printing moves its current row.
class TableDataSet : public FormDataSet {
public:
    explicit TableDataSet(Table &table) : table_(table) {}
    QVariant value(const QString &field) const override;
    void first() override;
    void next() override;
    bool eof() const override;

private:
    Table &table_;
};

struct FormElement {
    QString name; // the name code uses to reach it; may be empty for fixed texts
    ElementKind kind = ElementKind::Label;
    // Millimetres from the band's top-left corner. A width of 0 makes a text as wide as it is.
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    FormAlign align = FormAlign::Left;
    FormFont font;
    bool enabled = true;
    QString caption;   // Label
    QString source;    // DataText: the named record (see ReportForm::records); empty: the data set
    QString field;     // DataText, Sum
    QString mask;      // DataText, Sum: "### ### ##0.00" style; empty: the value as it is
    bool resetAfterPrint = false; // Sum: starts again at 0 after each printing of its band
    bool wordWrap = false;        // texts: break into lines within width and height
    bool linesFromTop = false;    // wrapped texts: the lines start at the top instead of standing centred
    double penWidth = 0.2;        // Line, Box: millimetres
    // Runs right before the element prints; may change the text (an empty one prints nothing).
    std::function<void(QString &text)> onPrint;

    Money sum; // Sum: the amount so far
};

struct FormBand {
    QString name;
    BandKind kind = BandKind::Detail;
    double height = 0; // millimetres
    bool enabled = true;
    std::deque<FormElement> elements;
    // Runs right before the band prints; false leaves the band out this time.
    std::function<bool(FormBand &band)> beforePrint;

    FormElement &add(FormElement element);
};

class ReportForm {
public:
    explicit ReportForm(QString name = QString());
    ReportForm(const ReportForm &) = delete;
    ReportForm &operator=(const ReportForm &) = delete;

    QString name;
    QString title; // what the preview and a saved file are called; the name when empty
    FormPage page;
    std::deque<FormBand> bands; // in order; a child band follows the band it is chained to
    FormDataSet *dataSet = nullptr;               // none: the detail band prints once
    QHash<QString, const FormRecord *> records;   // named records data-bound elements read
    std::function<void(ReportForm &form)> beforePrint; // before any band is produced

    FormBand &addBand(BandKind kind, double height, const QString &bandName = QString());

    // The first element or band of that name (names are matched without regard to case).
    FormElement *element(const QString &elementName);
    const FormElement *element(const QString &elementName) const;
    FormBand *band(const QString &bandName);

    // Caption and enabled state of a named element; an unknown name is a programming fault and
    // throws std::out_of_range, so a misspelt label never goes unnoticed.
    void setCaption(const QString &elementName, const QString &text);
    QString caption(const QString &elementName) const;
    void setEnabled(const QString &elementName, bool enabled);
    bool isEnabled(const QString &elementName) const;

private:
    FormElement &required(const QString &elementName);
};

// Shortcuts for building forms.
FormElement Label(const QString &name, const QString &caption, double left, double top, double width,
                  FormFont font = {}, FormAlign align = FormAlign::Left);
FormElement DataText(const QString &source, const QString &field, double left, double top, double width,
                     FormFont font = {}, FormAlign align = FormAlign::Left, const QString &mask = QString());
FormElement SumOf(const QString &name, const QString &field, double left, double top, double width,
                  bool resetAfterPrint, const QString &mask, FormFont font = {},
                  FormAlign align = FormAlign::Right);
FormElement PageNumber(double left, double top, double width, FormFont font = {},
                       FormAlign align = FormAlign::Left);
FormElement HorizontalLine(double left, double top, double width, double penWidth = 0.2);
FormElement VerticalLine(double left, double top, double height, double penWidth = 0.2);
FormElement Box(double left, double top, double width, double height, double penWidth = 0.2);

// One thing to draw, in millimetres from the paper's top-left corner, with its font resolved
// against the base font.
struct PlacedItem {
    ElementKind kind = ElementKind::Label;
    QString name;
    QString text;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    FormAlign align = FormAlign::Left;
    FormFont font;
    bool wordWrap = false;
    bool linesFromTop = false;
    double penWidth = 0.2;
};

struct LaidOutPage {
    QList<PlacedItem> items;
};

struct FormLayout {
    FormPage page;
    QList<LaidOutPage> pages;

    // Every text of a page (or of all pages when page is -1) in the order placed.
    QStringList texts(int page = -1) const;
};

// Runs the hooks and lays the form out on pages: the report's hook first, each band's hook right
// before the band, each element's hook right before it is placed. Sums start at 0 on every run,
// so a form prints again and again with the same result.
FormLayout LayOutForm(ReportForm &form);

// The text of a value through a display mask (Money and numbers; other values as text).
QString FormValueText(const QVariant &value, const QString &mask);

// Where a form goes: the preview window or the system printer. The windows implement it; tests
// record what was asked.
class FormOutput {
public:
    virtual ~FormOutput() = default;
    virtual void preview(ReportForm &form) = 0;
    virtual void print(ReportForm &form) = 0;
};
