#include "widgets/grouped_header_view.h"

#include "widgets/table_model.h"

#include <QPainter>
#include <QStyleOptionHeader>

GroupedHeaderView::GroupedHeaderView(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QString GroupedHeaderView::groupOf(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, orientation(), TableModel::GroupRole).toString() : QString();
}

bool GroupedHeaderView::hasGroups() const
{
    for (int i = 0; model() && i < count(); ++i)
        if (!groupOf(i).isEmpty())
            return true;
    return false;
}

QSize GroupedHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    if (hasGroups())
        size.setHeight(size.height() * 2 - 2);
    return size;
}

QRect GroupedHeaderView::groupRect(int section, const QRect &sectionRect) const
{
    const QString group = groupOf(section);
    int first = visualIndex(section);
    while (first > 0 && groupOf(logicalIndex(first - 1)) == group)
        --first;
    int last = visualIndex(section);
    while (last < count() - 1 && groupOf(logicalIndex(last + 1)) == group)
        ++last;
    const int left = sectionViewportPosition(logicalIndex(first));
    const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
    return QRect(left, sectionRect.top(), right - left, sectionRect.height() / 2);
}

void GroupedHeaderView::paintPanel(QPainter *painter, const QRect &rect, int logicalIndex, const QString &text) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    option.text = text;
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
}

void GroupedHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QString title = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QString group = groupOf(logicalIndex);
    if (group.isEmpty()) {
        paintPanel(painter, rect, logicalIndex, title);
        return;
    }
    const QRect upper(rect.left(), rect.top(), rect.width(), rect.height() / 2);
    const QRect lower(rect.left(), upper.bottom() + 1, rect.width(), rect.height() - upper.height());
    painter->save();
    painter->setClipRect(upper);
    paintPanel(painter, groupRect(logicalIndex, rect), logicalIndex, group);
    painter->restore();
    paintPanel(painter, lower, logicalIndex, title);
}
