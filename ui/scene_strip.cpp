#include "ui/scene_strip.h"

#include "analysis/scene_texts.h"
#include "engine/comparison_texts.h"

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

constexpr int stripHeight = 12;
constexpr int markWidth = 6;
// How far beside a mark a click or the pointer still counts as on it.
constexpr int reach = 4;

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
    // The marks follow the handle wherever the slider is laid out.
    slider_->installEventFilter(this);
    connect(slider_, &QSlider::rangeChanged, this, qOverload<>(&QWidget::update));
}

void SceneStrip::setScenes(const QList<SceneResult> &scenes)
{
    scenes_ = scenes;
    pressed_ = -1;
    update();
}

void SceneStrip::addScene(const SceneResult &scene)
{
    scenes_.append(scene);
    update();
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

QRect SceneStrip::markRect(int scene) const
{
    return QRect(markX(scenes_[scene].seconds) - markWidth / 2, 1, markWidth, height() - 2);
}

int SceneStrip::sceneAt(int x) const
{
    int nearest = -1;
    int distance = markWidth / 2 + reach + 1;
    for (int i = 0; i < scenes_.size(); ++i) {
        const int d = std::abs(markX(scenes_[i].seconds) - x);
        // Of overlapping marks the worse one, which is drawn on top.
        const bool worse = nearest >= 0 && scenes_[i].quality.ssimClip < scenes_[nearest].quality.ssimClip;
        if (d < distance || (d == distance && worse)) {
            distance = d;
            nearest = i;
        }
    }
    return nearest;
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
                               sceneTimeText(result.seconds, scenes_) + QLatin1Char('\n') + sceneNumbersText(result),
                               this, markRect(scene));
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
    const QColor edge = palette().color(QPalette::Window);
    for (const int scene : order) {
        painter.setPen(QPen(edge, 1));
        painter.setBrush(ssimColour(scenes_[scene].quality.ssimClip));
        painter.drawRoundedRect(QRectF(markRect(scene)).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
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
