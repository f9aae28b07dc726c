#pragma once

#include <QHeaderView>

// A horizontal header of two title lines: neighbouring columns with the same group title (the
// model's TableModel::GroupRole) share it on the upper line and show their own titles below;
// a column without a group shows its title over both lines.
class GroupedHeaderView final : public QHeaderView {
    Q_OBJECT

public:
    explicit GroupedHeaderView(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QString groupOf(int logicalIndex) const;
    bool hasGroups() const;
    // The upper line over every visible column of the section's group, in viewport coordinates.
    QRect groupRect(int section, const QRect &sectionRect) const;
    void paintPanel(QPainter *painter, const QRect &rect, int logicalIndex, const QString &text) const;
};
