#include "ui/busy_spinner.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr int dashes = 8;
}

BusySpinner::BusySpinner(int diameter, QWidget *parent) : QWidget(parent), diameter_(diameter)
{
    setFixedSize(diameter, diameter);
    timer_.setInterval(90);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % dashes;
        update();
    });
}

QSize BusySpinner::sizeHint() const
{
    return QSize(diameter_, diameter_);
}

void BusySpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = diameter_ / 2.0;
    painter.translate(width() / 2.0, height() / 2.0);
    QColor colour = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    QPen pen;
    pen.setWidthF(std::max(1.5, diameter_ / 8.0));
    pen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i < dashes; ++i) {
        // The dash at the current step is darkest; the ones behind it fade out.
        const int age = (step_ - i + dashes) % dashes;
        colour.setAlphaF(1.0 - 0.8 * age / (dashes - 1));
        pen.setColor(colour);
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * i / dashes);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius + pen.widthF() / 2));
        painter.restore();
    }
}

void BusySpinner::showEvent(QShowEvent *)
{
    timer_.start();
}

void BusySpinner::hideEvent(QHideEvent *)
{
    timer_.stop();
}
