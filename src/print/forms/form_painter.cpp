#include "print/forms/form_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

QString ResolveFontFamily(const QString &family)
{
    const QString key = family.trimmed().toLower();
    if (key == QLatin1String("arial"))
        return QStringLiteral("Liberation Sans");
    if (key == QLatin1String("times new roman"))
        return QStringLiteral("Liberation Serif");
    if (key == QLatin1String("tahoma") || key == QLatin1String("verdana"))
        return QStringLiteral("DejaVu Sans");
    return family;
}

namespace {

QPageLayout PageLayoutOf(const FormPage &page)
{
    const QPageSize size(page.paper == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter);
    const QPageLayout::Orientation orientation =
        page.orientation == PageOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QFont FontOf(const FormFont &font)
{
    QFont qfont(ResolveFontFamily(font.family));
    qfont.setPointSizeF(font.size > 0 ? font.size : 10);
    qfont.setBold(font.bold);
    qfont.setKerning(false);
    return qfont;
}

} // namespace

void PaintFormPage(const FormLayout &layout, int pageIndex, QPainter &painter)
{
    if (pageIndex < 0 || pageIndex >= layout.pages.size())
        return;
    // Millimetres to device units: the device shows the whole paper.
    const QRect viewport = painter.viewport();
    const double scale = viewport.width() / layout.page.paperWidth();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PlacedItem &item : layout.pages.at(pageIndex).items) {
        const double x = item.left * scale;
        const double y = item.top * scale;
        switch (item.kind) {
        case ElementKind::Line: {
            QPen pen(Qt::black);
            pen.setWidthF(std::max(item.penWidth * scale, 1.0));
            painter.setPen(pen);
            painter.drawLine(QPointF(x, y), QPointF(x + item.width * scale, y + item.height * scale));
            break;
        }
        case ElementKind::Box: {
            QPen pen(Qt::black);
            pen.setWidthF(std::max(item.penWidth * scale, 1.0));
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(x, y, item.width * scale, item.height * scale));
            break;
        }
        default: {
            // The font's point size is taken against the device's resolution, so a 10 pt text is
            // 10 pt on paper whatever the device.
            painter.setPen(Qt::black);
            // A text wider than its place (or than the paper's printable width, for one as wide
            // as itself) is set in a smaller size, down to 60 % of its own (45 % for a text that
            // may take several lines, which then stand centred in their height unless they start
            // at its top), so it is never cut and never runs into its neighbour; beyond that a
            // one-line text with a width of its own wraps below its first line, and one without
            // runs on rather than being cut.
            const double rightEdge = (layout.page.paperWidth() - layout.page.margins.right) * scale;
            const double available = item.width > 0 ? item.width * scale : std::max(rightEdge - x, 1.0);
            QFont font = FontOf(item.font);
            const double fullSize = font.pointSizeF();
            const bool wrapped = item.wordWrap && item.width > 0;
            const double smallest = fullSize * (wrapped ? 0.45 : 0.6);
            Qt::Alignment align = wrapped && !item.linesFromTop ? Qt::AlignVCenter : Qt::AlignTop;
            QRectF rect;
            int flags = 0;
            for (double size = fullSize;; size = std::max(size - 0.25, smallest)) {
                font.setPointSizeF(size);
                const QFontMetricsF metrics(font, painter.device());
                const double height = std::max(item.height * scale, metrics.height());
                if (wrapped) {
                    rect = QRectF(x, y, available, height);
                    flags = Qt::TextWordWrap;
                    const QRectF needed = metrics.boundingRect(rect, int(Qt::AlignLeft | Qt::TextWordWrap), item.text);
                    if (needed.height() <= height + 0.5 || size <= smallest)
                        break;
                } else {
                    flags = Qt::TextSingleLine;
                    const double width = metrics.horizontalAdvance(item.text);
                    rect = item.width > 0 ? QRectF(x, y, available, height) : QRectF(x, y, width + 1, height);
                    if (width <= available)
                        break;
                    if (size <= smallest) {
                        // Too long for its place even in the smallest size (an amount of twelve
                        // digits in words): it goes on in a second line below its first, never
                        // off the paper.
                        if (item.width > 0) {
                            flags = Qt::TextWordWrap;
                            rect = metrics.boundingRect(QRectF(x, y, available, height), int(Qt::AlignLeft | Qt::TextWordWrap),
                                                        item.text);
                            rect.setWidth(available);
                        }
                        break;
                    }
                }
            }
            painter.setFont(font);
            align |= item.width <= 0                  ? Qt::AlignLeft
                     : item.align == FormAlign::Right  ? Qt::AlignRight
                     : item.align == FormAlign::Center ? Qt::AlignHCenter
                                                       : Qt::AlignLeft;
            painter.drawText(rect, int(align) | flags | Qt::TextDontClip, item.text);
            break;
        }
        }
    }
    painter.restore();
}

bool PaintFormLayout(const FormLayout &layout, QPagedPaintDevice &device)
{
    device.setPageLayout(PageLayoutOf(layout.page));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = 0; i < layout.pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        PaintFormPage(layout, i, painter);
    }
    return painter.end();
}

int RenderForm(ReportForm &form, QPagedPaintDevice &device)
{
    const FormLayout layout = LayOutForm(form);
    return PaintFormLayout(layout, device) ? int(layout.pages.size()) : 0;
}

bool WriteLayoutPdf(const FormLayout &layout, const QString &path, const QString &title, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Kasa"));
        painted = PaintFormLayout(layout, writer);
    }
    if (!painted) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("Nie można utworzyć pliku PDF");
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool WriteFormPdf(ReportForm &form, const QString &path, QString *error)
{
    return WriteLayoutPdf(LayOutForm(form), path, form.name, error);
}
