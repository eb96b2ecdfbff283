#include "ui/scene_strip.h"

#include "analysis/scene_texts.h"
#include "engine/comparison_texts.h"
#include "engine/quality_texts.h"
#include "ui/scene_strip_accessible.h"

#include <QAccessible>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

// Marks 14 pixels high, easy to hit.
constexpr int stripHeight = 16;
// The width of a mark that has no other beside it, and the least of any.
constexpr int loneWidth = 24;
constexpr int leastWidth = 6;

// The style option QSlider paints itself with (QSlider::initStyleOption is protected).
QStyleOptionSlider sliderOption(const QSlider &slider, int value)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    // As QSlider: a horizontal slider runs right to left in a right-to-left layout.
    option.upsideDown = slider.orientation() == Qt::Horizontal
        ? slider.invertedAppearance() != (option.direction == Qt::RightToLeft)
        : !slider.invertedAppearance();
    option.direction = Qt::LeftToRight;
    option.sliderPosition = value;
    option.sliderValue = value;
    if (slider.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return option;
}

} // namespace

SceneStrip::SceneStrip(QSlider *slider, double valuesPerSecond, QWidget *parent)
    : QWidget(parent), slider_(slider), valuesPerSecond_(valuesPerSecond)
{
    setFixedHeight(stripHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
    SceneStripAccessible::install();
    // The marks follow the handle wherever the slider is laid out.
    slider_->installEventFilter(this);
    connect(slider_, &QSlider::rangeChanged, this, qOverload<>(&QWidget::update));
}

void SceneStrip::setScenes(const QList<SceneResult> &scenes)
{
    scenes_ = scenes;
    pressed_ = -1;
    findCurrent();
    update();
    QAccessibleEvent changed(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&changed);
}

void SceneStrip::addScene(const SceneResult &scene)
{
    QList<SceneResult> scenes = scenes_;
    scenes.append(scene);
    setScenes(scenes);
}

void SceneStrip::setGreyed(bool greyed)
{
    if (std::exchange(greyed_, greyed) != greyed)
        update();
}

void SceneStrip::setCurrentSeconds(double seconds)
{
    currentSeconds_ = seconds;
    findCurrent();
}

void SceneStrip::findCurrent()
{
    // The scene time a scene was asked for, or (within a frame) the time of its compared frame.
    const auto at = [this](const SceneResult &scene) {
        return scene.sceneSeconds == currentSeconds_ || std::abs(scene.seconds - currentSeconds_) < 0.02;
    };
    int current = int(std::find_if(scenes_.cbegin(), scenes_.cend(), at) - scenes_.cbegin());
    if (current == scenes_.size())
        current = -1;
    if (std::exchange(current_, current) != current)
        update();
}

QString SceneStrip::markText(int scene) const
{
    const SceneResult &result = scenes_.at(scene);
    const double ssim = result.quality.ssimClip;
    return sceneTimeText(result.seconds, scenes_) + QStringLiteral(" · ") + verdictWord(verdictFor(ssim))
        + QStringLiteral(" · SSIM ") + ssimText(ssim);
}

void SceneStrip::clear()
{
    setScenes({});
}

int SceneStrip::markX(double seconds) const
{
    if (!slider_)
        return 0;
    const double scaled = std::round(seconds * valuesPerSecond_);
    const int value = int(std::clamp(scaled, double(slider_->minimum()), double(slider_->maximum())));
    const QStyleOptionSlider option = sliderOption(*slider_, value);
    const QRect handle = slider_->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider_);
    return mapFromGlobal(slider_->mapToGlobal(handle.center())).x();
}

QColor SceneStrip::ssimColour(double ssim)
{
    // Hue 0 is red, 60 yellow, 120 green.
    const double share = std::clamp((ssim - redSsim) / (greenSsim - redSsim), 0.0, 1.0);
    return QColor::fromHsv(int(std::lround(120 * share)), 210, 225);
}

QList<QRect> SceneStrip::markRects() const
{
    QList<int> xs;
    for (const SceneResult &scene : scenes_)
        xs.append(markX(scene.seconds));
    QList<int> sorted = xs;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QList<QRect> rects;
    for (const int x : std::as_const(xs)) {
        const auto at = std::lower_bound(sorted.cbegin(), sorted.cend(), x);
        // Half way to the marks beside it; at either end as far out as in, or half the lone width.
        const int before = at == sorted.cbegin() ? -1 : x - *(at - 1);
        const int after = at + 1 == sorted.cend() ? -1 : *(at + 1) - x;
        const int lone = loneWidth / 2;
        int left = before > 0 ? before / 2 : (after > 0 ? after / 2 : lone);
        int right = after > 0 ? after - after / 2 : (before > 0 ? before - before / 2 : lone);
        left = std::max(left, leastWidth / 2);
        right = std::max(right, leastWidth / 2);
        rects.append(QRect(QPoint(x - left, 1), QPoint(x + right - 1, height() - 2)));
    }
    return rects;
}

int SceneStrip::sceneAt(int x) const
{
    const QList<QRect> rects = markRects();
    int found = -1;
    for (int i = 0; i < rects.size(); ++i) {
        // Of overlapping marks the worse one, which is drawn on top.
        if (x >= rects[i].left() && x <= rects[i].right()
            && (found < 0 || scenes_[i].quality.ssimClip < scenes_[found].quality.ssimClip))
            found = i;
    }
    return found;
}

bool SceneStrip::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int scene = sceneAt(help->pos().x());
        if (scene < 0) {
            QToolTip::hideText();
            event->ignore();
        } else {
            const SceneResult &result = scenes_[scene];
            QToolTip::showText(help->globalPos(),
                               sceneTimeText(result.seconds, scenes_) + QLatin1Char('\n')
                                   + verdictWord(verdictFor(result.quality.ssimClip)) + QStringLiteral(" · ")
                                   + sceneNumbersText(result),
                               this, markRects().at(scene));
        }
        return true;
    }
    if (event->type() == QEvent::Move)
        update();
    return QWidget::event(event);
}

bool SceneStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == slider_
        && (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::StyleChange))
        update();
    return QWidget::eventFilter(watched, event);
}

void SceneStrip::paintEvent(QPaintEvent *)
{
    if (scenes_.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The worst scenes last, so that they stay on top where marks overlap.
    QList<int> order(scenes_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return scenes_[a].quality.ssimClip > scenes_[b].quality.ssimClip; });
    const QList<QRect> rects = markRects();
    const QColor edge = palette().color(QPalette::Window);
    for (const int scene : order) {
        QColor colour = ssimColour(scenes_[scene].quality.ssimClip);
        if (greyed_) // a hint of its colour on the window's grey
            colour = QColor::fromHsv(colour.hsvHue(), colour.hsvSaturation() / 4, (colour.value() + edge.value()) / 2);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(rects[scene]).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }
    if (current_ >= 0) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rects[current_]).adjusted(1, 1, -1, -1), 2, 2);
    }
}

void SceneStrip::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(sceneAt(event->position().toPoint().x()) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void SceneStrip::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton ? sceneAt(event->position().toPoint().x()) : -1;
    QWidget::mousePressEvent(event);
}

void SceneStrip::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = std::exchange(pressed_, -1);
    if (event->button() == Qt::LeftButton && pressed >= 0 && sceneAt(event->position().toPoint().x()) == pressed)
        emit sceneClicked(scenes_[pressed].seconds);
    QWidget::mouseReleaseEvent(event);
}
