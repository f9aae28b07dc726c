#include "app/ui/splash_window.h"

#include "base/application_title.h"
#include "widgets/window_frame.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

void PaintCashBox(QPainter &painter, const QRectF &box)
{
    painter.setPen(QPen(QColor(40, 60, 90), 2));
    painter.setBrush(QColor(70, 110, 160));
    painter.drawRoundedRect(box, 8, 8);
    painter.setBrush(QColor(50, 85, 130));
    painter.drawRoundedRect(QRectF(box.left(), box.top(), box.width(), box.height() * 0.28), 8, 8);
    // The slot the coin drops into, and the lock.
    painter.setBrush(QColor(20, 30, 45));
    painter.drawRoundedRect(QRectF(box.center().x() - 28, box.top() + 8, 56, 7), 3, 3);
    painter.setBrush(QColor(230, 200, 90));
    painter.drawEllipse(QPointF(box.center().x(), box.top() + box.height() * 0.62), 7, 7);
}

void PaintCoin(QPainter &painter, const QPointF &centre, qreal radius)
{
    QRadialGradient gold(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    gold.setColorAt(0, QColor(255, 236, 140));
    gold.setColorAt(1, QColor(200, 150, 30));
    painter.setPen(QPen(QColor(150, 105, 20), 2));
    painter.setBrush(gold);
    painter.drawEllipse(centre, radius, radius);
    painter.drawEllipse(centre, radius * 0.78, radius * 0.78);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(int(radius * 0.7));
    painter.setFont(font);
    painter.setPen(QColor(120, 80, 10));
    painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                     Qt::AlignCenter, QStringLiteral("zł"));
}

QPixmap CashBoxPicture()
{
    QPixmap picture(220, 150);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintCashBox(painter, QRectF(30, 55, 160, 88));
    PaintCoin(painter, QPointF(110, 32), 28);
    return picture;
}

}  // namespace

TZERO::TZERO(QWidget *parent)
    : QDialog(parent), obraz(new QLabel(this)), nazwa(new QLabel(this)),
      budowa(new QProgressBar(this))
{
    setObjectName(QStringLiteral("TZERO"));
    setWindowTitle(QStringLiteral("Dzień dobry"));
    UseCaptionOnlyFrame(*this);

    obraz->setObjectName(QStringLiteral("obraz"));
    obraz->setPixmap(CashBoxPicture());
    obraz->setAlignment(Qt::AlignCenter);

    nazwa->setObjectName(QStringLiteral("nazwa"));
    nazwa->setText(ApplicationTitle());
    nazwa->setAlignment(Qt::AlignCenter);
    QFont nameFont = nazwa->font();
    nameFont.setPointSize(nameFont.pointSize() * 2);
    nameFont.setBold(true);
    nazwa->setFont(nameFont);

    budowa->setObjectName(QStringLiteral("budowa"));
    budowa->setRange(0, 100);
    budowa->setValue(0);
    budowa->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(obraz);
    layout->addWidget(nazwa);
    layout->addStretch();
    layout->addWidget(budowa);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

void TZERO::advance(int by)
{
    budowa->setValue(budowa->value() + by);
    if (isVisible())
        budowa->repaint();
}
