#include "ui/clip_bar.h"

#include "engine/number_text.h"
#include "engine/quality_texts.h"
#include "ui/scene_strip.h"
#include "ui/text_styles.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int graphHeight = 22;
constexpr int markHeight = 6;
// The graph's scale: a column's height grows from this SSIM to 1; lower ones keep a quarter of it,
// so that their colour shows.
constexpr double lowestSsim = 0.8;

// "Bild 12: SSIM 0.9412 · PSNR 38.1 dB"
QString frameTip(qint64 n, const std::optional<FrameQuality> &quality)
{
    QString tip = QCoreApplication::translate("ClipBar", "Bild %1").arg(n + 1);
    if (quality)
        tip += QStringLiteral(": ") + qualityText(quality->ssim, quality->psnr);
    return tip;
}

} // namespace

ClipBar::ClipBar(QWidget *parent) : QAbstractSlider(parent)
{
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setRange(0, 0);
    setPageStep(10);
    setAccessibleName(tr("Bilder des Ausschnitts"));
}

QSize ClipBar::sizeHint() const
{
    return QSize(400, graphHeight + markHeight + 4);
}

QSize ClipBar::minimumSizeHint() const
{
    return QSize(60, sizeHint().height());
}

void ClipBar::setFrames(qint64 count, const QList<FrameQuality> &frames)
{
    count_ = std::max<qint64>(0, count);
    frames_ = frames;
    const QSignalBlocker quiet(this); // a value clamped to the new range asks for nothing
    setRange(0, int(std::max<qint64>(0, count_ - 1)));
    update();
}

void ClipBar::setShownFrame(qint64 frame)
{
    shown_ = frame;
    const QSignalBlocker quiet(this); // not a request
    setValue(int(std::max<qint64>(0, frame)));
    update();
}

void ClipBar::setMarks(std::optional<qint64> sceneFrame, std::optional<qint64> worstFrame)
{
    scene_ = sceneFrame;
    worst_ = worstFrame;
    update();
}

QRectF ClipBar::column(qint64 n) const
{
    const double width = count_ > 0 ? double(this->width()) / double(count_) : 0;
    return QRectF(n * width, 0, width, height());
}

qint64 ClipBar::frameAt(double x) const
{
    if (count_ <= 0 || width() <= 0)
        return 0;
    return std::clamp<qint64>(qint64(std::floor(x * double(count_) / width())), 0, count_ - 1);
}

bool ClipBar::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractSlider::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    if (count_ <= 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const qint64 n = frameAt(help->pos().x());
    const QString scale =
        tr("Säulenhöhe: SSIM von %1 bis 1.00 · grün ab %2, rot bis %3")
            .arg(fixedText(lowestSsim, 2), fixedText(SceneStrip::greenSsim, 2), fixedText(SceneStrip::redSsim, 2));
    QToolTip::showText(help->globalPos(),
                       frameTip(n, n < frames_.size() ? std::optional(frames_.at(n)) : std::nullopt) + QLatin1Char('\n')
                           + scale,
                       this, column(n).toAlignedRect());
    return true;
}

void ClipBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const QRectF graph(0, 0, width(), graphHeight);
    QPainterPath outline;
    outline.addRoundedRect(graph, 4, 4);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline, colours.color(QPalette::Base));
    if (count_ <= 0)
        return;
    painter.setClipPath(outline);
    const QColor unmeasured = TextStyles::secondary(colours);
    for (qint64 n = 0; n < count_; ++n) {
        const QRectF cell = column(n);
        double share = 0.35; // not measured: a low grey column
        QColor colour = unmeasured;
        if (n < frames_.size()) {
            share = std::clamp((frames_.at(n).ssim - lowestSsim) / (1 - lowestSsim), 0.25, 1.0);
            colour = SceneStrip::ssimColour(frames_.at(n).ssim);
        }
        const double top = graph.bottom() - share * graph.height();
        // A hair of space between columns where they are wide enough for it.
        const double gap = cell.width() >= 4 ? 1 : 0;
        painter.fillRect(QRectF(cell.left(), top, cell.width() - gap, graph.bottom() - top), colour);
    }
    if (shown_ >= 0 && shown_ < count_) {
        const QRectF cell = column(shown_);
        const double w = std::max(3.0, cell.width());
        const QRectF marker(cell.center().x() - w / 2, graph.top(), w, graph.height());
        painter.setPen(QPen(colours.color(QPalette::WindowText), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marker.adjusted(1, 1, -1, -1));
    }
    painter.setClipping(false);
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
        painter.drawPath(outline);
    }
    // Under the graph: a dot under the scene's own frame, a red triangle under the worst one.
    painter.setPen(Qt::NoPen);
    const double markTop = graph.bottom() + 2;
    if (scene_ && *scene_ < count_) {
        painter.setBrush(colours.color(QPalette::WindowText));
        painter.drawEllipse(QPointF(column(*scene_).center().x(), markTop + markHeight / 2.0), markHeight / 2.0,
                            markHeight / 2.0);
    }
    if (worst_ && *worst_ < count_) {
        const double x = column(*worst_).center().x();
        painter.setBrush(TextStyles::errorRed());
        painter.drawPolygon(QPolygonF({QPointF(x, markTop), QPointF(x - markHeight / 2.0 - 1, markTop + markHeight),
                                       QPointF(x + markHeight / 2.0 + 1, markTop + markHeight)}));
    }
}

void ClipBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || count_ <= 0)
        return QAbstractSlider::mousePressEvent(event);
    setValue(int(frameAt(event->position().x())));
    event->accept();
}

void ClipBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || count_ <= 0)
        return QAbstractSlider::mouseMoveEvent(event);
    setValue(int(frameAt(event->position().x())));
    event->accept();
}
