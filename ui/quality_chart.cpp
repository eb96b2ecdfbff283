#include "ui/quality_chart.h"

#include "engine/comparison_limits.h"
#include "engine/comparison_texts.h"
#include "engine/number_text.h"
#include "engine/quality_texts.h"
#include "ui/text_styles.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<double, 6> bitrateTicks = {0.3, 1, 2, 5, 10, 20};
constexpr double markRadius = 2.5;
constexpr int pointReach = 6; // how far from a point its tooltip shows

constexpr int chartHeight = 200; // with a legend of one line
constexpr int legendSpacing = 2; // between its lines

QColor curveColour(int curve)
{
    static const std::array<QColor, 8> colours = {
        QColor(0x1f, 0x77, 0xb4), QColor(0xe0, 0x6c, 0x00), QColor(0x8e, 0x44, 0xad), QColor(0x2c, 0xa0, 0x2c),
        QColor(0xd6, 0x27, 0x28), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf)};
    return colours.at(size_t(curve) % colours.size());
}

// Left of the plot: room for the SSIM labels.
int plotLeft(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("0.000")) + 10;
}

// Right of the plot: room for the unit after the last bitrate label.
int plotRightMargin(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QString::number(bitrateTicks.back())) / 2 + 6
        + metrics.horizontalAdvance(QStringLiteral("Mbit/s")) + 2;
}

// The decimals an SSIM axis label needs at that step.
int ssimDecimals(double step)
{
    return step < 0.01 - 1e-9 ? 3 : 2;
}

// "0.3", "1", "20": as short as the number.
QString tickText(double mbps)
{
    return mbps == std::round(mbps) ? QString::number(qint64(mbps)) : fixedText(mbps, 1);
}

} // namespace

QualityChart::QualityChart(QWidget *parent) : QWidget(parent)
{
    setAccessibleName(tr("Qualität über Bitrate"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void QualityChart::setCurves(const QList<Curve> &curves)
{
    curves_ = curves;
    for (Curve &curve : curves_)
        std::sort(curve.points.begin(), curve.points.end(),
                  [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    setFixedHeight(heightFor(width()));
    updateGeometry();
    update();
}

void QualityChart::setChosenMbps(std::optional<double> mbps)
{
    chosenMbps_ = mbps;
    setAccessibleDescription(mbps ? mbpsText(*mbps, 1) : QString());
    update();
}

void QualityChart::setTargetSsim(std::optional<double> ssim)
{
    targetSsim_ = ssim;
    update();
}

void QualityChart::clear()
{
    curves_.clear();
    setChosenMbps(std::nullopt);
    setTargetSsim(std::nullopt);
}

QSize QualityChart::sizeHint() const
{
    return {420, heightFor(420)};
}

QSize QualityChart::minimumSizeHint() const
{
    return {300, heightFor(300)};
}

void QualityChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setFixedHeight(heightFor(width()));
}

QList<QPointF> QualityChart::legendPlaces(int width) const
{
    const QFontMetrics metrics(TextStyles::caption());
    const int left = plotLeft(metrics);
    QList<QPointF> places;
    QPointF at(left, 0);
    for (const Curve &curve : curves_) {
        const double entry = 18 + metrics.horizontalAdvance(timeText(curve.seconds));
        if (at.x() > left && at.x() + entry > width) // onto the next line
            at = QPointF(left, at.y() + metrics.height() + legendSpacing);
        places.append(at);
        at.rx() += entry + 16;
    }
    return places;
}

int QualityChart::heightFor(int width) const
{
    const QList<QPointF> places = legendPlaces(width);
    return chartHeight + int(std::ceil(places.isEmpty() ? 0 : places.back().y()));
}

QualityChart::SsimAxis QualityChart::ssimAxis() const
{
    double low = targetSsim_.value_or(1);
    double high = targetSsim_.value_or(0);
    for (const Curve &curve : curves_)
        for (const QPointF &point : curve.points)
            low = std::min(low, point.y()), high = std::max(high, point.y());
    if (low > high) // nothing to show
        low = 0.9, high = 1;
    const double room = std::max(high - low, 0.01) * 0.1;
    low = std::max(low - room, 0.0);
    high = std::min(high + room, 1.0);
    for (const double step : {0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5}) {
        const double bottom = std::floor(low / step + 1e-9) * step;
        const double top = std::min(std::ceil(high / step - 1e-9) * step, 1.0);
        if ((top - bottom) / step <= 5 + 1e-9)
            return {bottom, top, step};
    }
    return {};
}

QRect QualityChart::plotRect() const
{
    const QFontMetrics metrics(TextStyles::caption());
    const int line = metrics.height();
    const QList<QPointF> legend = legendPlaces(width());
    const int legendLines = int(std::ceil(legend.isEmpty() ? 0 : legend.back().y()));
    // Left: the SSIM labels; above: the axis name and the chosen bitrate; right: room for the
    // unit after the last bitrate label; below: the bitrate labels and the legend.
    return rect().adjusted(plotLeft(metrics), line + 10, -plotRightMargin(metrics), -(2 * line + 14 + legendLines));
}

QPointF QualityChart::placeOf(const QPointF &point) const
{
    const QRect plot = plotRect();
    const SsimAxis axis = ssimAxis();
    const double logMin = std::log(ComparisonLimits::minMbps);
    const double logSpan = std::log(ComparisonLimits::maxMbps) - logMin;
    const double mbps = std::clamp(point.x(), ComparisonLimits::minMbps, ComparisonLimits::maxMbps);
    const double ssim = std::clamp(point.y(), axis.bottom, axis.top);
    return {plot.left() + (std::log(mbps) - logMin) / logSpan * plot.width(),
            plot.bottom() - (ssim - axis.bottom) / (axis.top - axis.bottom) * plot.height()};
}

QString QualityChart::pointText(const QPoint &at) const
{
    double nearest = pointReach + 0.5;
    QString text;
    for (const Curve &curve : curves_) {
        for (const QPointF &point : curve.points) {
            const double distance = QLineF(placeOf(point), at).length();
            if (distance < nearest) {
                nearest = distance;
                text = timeText(curve.seconds) + QStringLiteral(" · ") + mbpsText(point.x(), 1)
                    + QStringLiteral(" · SSIM ") + ssimText(point.y());
            }
        }
    }
    return text;
}

bool QualityChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString text = pointText(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this,
                           QRect(help->pos() - QPoint(pointReach, pointReach), QSize(2 * pointReach, 2 * pointReach)));
    }
    return true;
}

void QualityChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont caption = TextStyles::caption();
    painter.setFont(caption);
    const QFontMetrics metrics(caption);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor faint = TextStyles::secondary(palette());
    const QString unit = QStringLiteral("Mbit/s");
    const int line = metrics.height();
    const int rightMargin = plotRightMargin(metrics);
    const QRect plot = plotRect();
    const SsimAxis axis = ssimAxis();
    const auto xOf = [&](double mbps) { return placeOf({mbps, axis.top}).x(); };
    const auto yOf = [&](double ssim) { return placeOf({ComparisonLimits::minMbps, ssim}).y(); };

    // Grid, axis labels and the names of the axes; a label that would touch the one before is left
    // out.
    painter.setPen(QPen(faint, 0.5));
    const int ssimLines = int(std::lround((axis.top - axis.bottom) / axis.step));
    double lastLabel = 1e9;
    for (int i = 0; i <= ssimLines; ++i) {
        const double y = yOf(axis.bottom + i * axis.step);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        if (lastLabel - y < line || y - line / 2.0 < line) // apart, and below the axis name
            continue;
        painter.drawText(QRectF(0, y - line / 2.0, plot.left() - 6, line), Qt::AlignRight | Qt::AlignVCenter,
                         fixedText(axis.bottom + i * axis.step, ssimDecimals(axis.step)));
        lastLabel = y;
    }
    const double unitLeft = plot.right() + rightMargin - 2 - metrics.horizontalAdvance(unit);
    double lastRight = -1e9;
    for (const double mbps : bitrateTicks) {
        const double x = xOf(mbps);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const double half = metrics.horizontalAdvance(tickText(mbps)) / 2.0;
        if (x - half < lastRight + 4 || (mbps != bitrateTicks.back() && x + half > unitLeft - 4))
            continue;
        painter.drawText(QRectF(x - 30, plot.bottom() + 3, 60, line), Qt::AlignHCenter | Qt::AlignTop, tickText(mbps));
        lastRight = x + half;
    }
    painter.drawText(QPointF(unitLeft, plot.bottom() + 3 + metrics.ascent()), unit);
    painter.drawText(QRectF(0, 0, plot.left() - 6, line), Qt::AlignRight | Qt::AlignTop, QStringLiteral("SSIM"));

    // The target: a line across the plot, its value at the left end above it, where the curves
    // of low bitrates lie below the target (below the line where the plot's top leaves no room).
    if (targetSsim_) {
        const double y = yOf(*targetSsim_);
        painter.setPen(QPen(text, 1.2, Qt::DotLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        const QString value = tr("Ziel %1").arg(fixedText(*targetSsim_, 2));
        const double width = metrics.horizontalAdvance(value);
        const double top = y - line - 1 >= plot.top() ? y - line - 1 : y + 1;
        painter.fillRect(QRectF(plot.left() + 2, top, width + 4, line), palette().color(QPalette::Window));
        painter.setPen(text);
        painter.drawText(QRectF(plot.left() + 4, top, width, line), Qt::AlignLeft | Qt::AlignVCenter, value);
    }

    // The curves, and the legend with the scenes' times. Each of the first three curves is drawn
    // narrower than the one before, so curves of scenes that behave alike show as bands of their
    // colours, not as one line.
    const QList<QPointF> legend = legendPlaces(width());
    const double legendY = plot.bottom() + line + 10;
    const int n = int(curves_.size());
    for (int i = 0; i < n; ++i) {
        const QColor colour = curveColour(i);
        const int wider = std::max(0, std::min(n, 3) - 1 - i);
        const double width = 1.5 + 2.0 * wider;
        const double radius = markRadius + wider;
        painter.setPen(QPen(colour, width));
        painter.setBrush(colour);
        QPainterPath path;
        for (const QPointF &point : curves_[i].points) {
            const QPointF at = placeOf(point);
            if (path.elementCount() == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
            painter.drawEllipse(at, radius, radius);
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);

        const QPointF entry = legend[i] + QPointF(0, legendY);
        painter.fillRect(QRectF(entry.x(), entry.y() + line / 2.0 - width / 2, 14, width), colour);
        painter.setPen(text);
        painter.drawText(QPointF(entry.x() + 18, entry.y() + metrics.ascent()), timeText(curves_[i].seconds));
    }

    // The chosen bitrate: a vertical line with its value above the plot, clear of the axis name.
    if (chosenMbps_) {
        const double x = xOf(*chosenMbps_);
        painter.setPen(QPen(text, 1, Qt::DashLine));
        painter.drawLine(QPointF(x, plot.top() - 2), QPointF(x, plot.bottom()));
        const QString value = mbpsText(*chosenMbps_, 1);
        const double width = metrics.horizontalAdvance(value);
        const double left = std::clamp(x - width / 2, plot.left() + 6.0, plot.right() + rightMargin - width);
        painter.setPen(text);
        painter.drawText(QPointF(left, metrics.ascent()), value);
    }
}
