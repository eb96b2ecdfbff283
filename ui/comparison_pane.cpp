#include "ui/comparison_pane.h"

#include "ui/app_icons.h"
#include "ui/pane_geometry.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr double titleMargin = 12;
constexpr double cornerRadius = 10;
constexpr double dragThreshold = 10;
constexpr int placeholderIconSize = 36;
constexpr double placeholderSpacing = 12;
constexpr double labelMargin = 8;
constexpr double dividerReach = 8; // how far from the divider a press still grabs it
constexpr double handleRadius = 11;
// One step of a mouse wheel (120 units) zooms by the square root of two.
constexpr double wheelUnitsPerDoubling = 240;

using View = GlanceModel::ComparisonView;
} // namespace

ComparisonPane::ComparisonPane(const QString &title, GlanceModel *model, Side side, QWidget *parent)
    : QWidget(parent), sideBySideTitle_(title), model_(model), side_(side)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus); // the flip view's Space reaches the window through the pane
    setMouseTracking(true);          // the divider's cursor
    const auto repaint = [this] { update(); };
    for (const auto changed : {&GlanceModel::originalChanged, &GlanceModel::encodedChanged,
                               &GlanceModel::differenceChanged, &GlanceModel::comparisonMbpsChanged,
                               &GlanceModel::staleChanged, &GlanceModel::zoomChanged, &GlanceModel::panChanged})
        connect(model_, changed, this, repaint);
    connect(model_, &GlanceModel::viewChanged, this, &ComparisonPane::showView);
    showView();
}

GlanceModel::ComparisonView ComparisonPane::view() const
{
    return side_ == Side::Encoded ? View::SideBySide : model_->view();
}

void ComparisonPane::showView()
{
    const View shown = view();
    if (side_ == Side::Encoded)
        setVisible(model_->view() == View::SideBySide);
    const bool encoded = side_ == Side::Encoded || (shown == View::Flip && showsEncoded_);
    setAccessibleName(shown == View::SideBySide || shown == View::Flip
                          ? (encoded ? ViewTexts::inFormat(tr("HEVC-Vorschau"), *model_) : ViewTexts::originalLabel())
                          : ViewTexts::viewName(shown));
    unsetCursor();
    update();
}

QString ComparisonPane::title() const
{
    const View shown = view();
    // The encoded pane of an older comparison says which bitrate it shows.
    return ViewTexts::inFormat(
        shown != View::SideBySide ? ViewTexts::viewName(shown) + QStringLiteral(" · ") + ViewTexts::viewHint(shown)
            : side_ == Side::Encoded && model_->stale() ? ViewTexts::stale(
                  sideBySideTitle_ + QStringLiteral(" · ") + ViewTexts::encodedBitrate(model_->comparisonMbps()))
                                                        : sideBySideTitle_,
        *model_);
}

void ComparisonPane::flip()
{
    showsEncoded_ = !showsEncoded_;
    showView();
}

double ComparisonPane::titleHeight() const
{
    // Whole points, so that the image area starts on a pixel boundary.
    return std::ceil(QFontMetricsF(TextStyles::headline()).height() + 2 * titleMargin);
}

QRectF ComparisonPane::imageArea() const
{
    const double top = std::min(titleHeight(), double(height()));
    return QRectF(0, top, width(), height() - top);
}

double ComparisonPane::dividerX() const
{
    const QRectF area = imageArea();
    return area.left() + divider_ * area.width();
}

bool ComparisonPane::onDivider(QPointF point) const
{
    return view() == View::Split && imageArea().contains(point) && std::abs(point.x() - dividerX()) <= dividerReach;
}

void ComparisonPane::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.save();
    paintContent(painter);
    painter.restore();
    if (hasFocus()) { // the arrow keys move the pictures now
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius - 1, cornerRadius - 1);
    }
}

void ComparisonPane::keyPressEvent(QKeyEvent *event)
{
    const PaneGeometry geometry{imageArea().size(), {}, model_->zoom(), model_->pan()};
    const std::optional<QSizeF> pan = geometry.panAfterKey(event->key());
    if (!pan)
        return QWidget::keyPressEvent(event);
    model_->setPan(*pan);
    event->accept();
}

void ComparisonPane::paintContent(QPainter &painter)
{
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline, palette().color(QPalette::Window));

    painter.setFont(TextStyles::headline());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF titleRect = QRectF(rect())
                                 .adjusted(titleMargin, titleMargin, -titleMargin, 0)
                                 .intersected(QRectF(0, 0, width(), titleHeight()));
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(title(), Qt::ElideRight, int(titleRect.width())));

    const QRectF area = imageArea();
    if (area.isEmpty())
        return;
    QPainterPath areaPath;
    areaPath.addRect(area);
    const QPainterPath visible = outline.intersected(areaPath);
    painter.fillPath(visible, Qt::black);
    painter.setClipPath(visible);

    const QImage &original = model_->original();
    const QImage &encoded = model_->encoded();
    // The encoded frame of an older comparison is dimmed and says so.
    const bool stale = model_->stale();
    const auto marked = [stale](const QString &label) { return stale ? ViewTexts::stale(label) : label; };
    const QString encodedLabel =
        marked(ViewTexts::inFormat(ViewTexts::encodedLabel(model_->comparisonMbps()), *model_));
    switch (view()) {
    case View::SideBySide:
        if (side_ == Side::Original ? original.isNull() : encoded.isNull())
            return paintPlaceholder(painter, area);
        paintFrame(painter, side_ == Side::Original ? original : encoded, area, area, stale && side_ == Side::Encoded);
        break;
    case View::Flip:
        if (showsEncoded_ ? encoded.isNull() : original.isNull())
            return paintPlaceholder(painter, area);
        paintFrame(painter, showsEncoded_ ? encoded : original, area, area, stale && showsEncoded_);
        paintLabel(painter, showsEncoded_ ? encodedLabel : ViewTexts::originalLabel(), area, Qt::AlignLeft);
        break;
    case View::Split: {
        if (original.isNull() && encoded.isNull())
            return paintPlaceholder(painter, area);
        // The same geometry on both sides: the divider cuts one picture in two.
        const double x = dividerX();
        paintFrame(painter, original, area, QRectF(area.topLeft(), QPointF(x, area.bottom())));
        paintFrame(painter, encoded, area, QRectF(QPointF(x, area.top()), area.bottomRight()), stale);
        paintDivider(painter, area);
        paintLabel(painter, ViewTexts::originalLabel(), area, Qt::AlignLeft);
        paintLabel(painter, encodedLabel, area, Qt::AlignRight);
        break;
    }
    case View::Difference:
        if (model_->difference().isNull())
            return paintPlaceholder(painter, area);
        paintFrame(painter, model_->difference(), area, area, stale);
        paintLabel(painter, marked(ViewTexts::differenceLabel()), area, Qt::AlignLeft);
        break;
    }
}

void ComparisonPane::paintFrame(QPainter &painter, const QImage &image, const QRectF &area, const QRectF &clip,
                                bool dim) const
{
    if (image.isNull())
        return;
    const PaneGeometry geometry{area.size(), QSizeF(image.size()), model_->zoom(), model_->pan()};
    const PaneGeometry::Blit blit = geometry.visiblePart();
    if (blit.source.isEmpty())
        return;
    painter.save();
    // Pixels stay sharp squares: no smoothing, on every device pixel ratio.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(clip, Qt::IntersectClip);
    if (dim)
        painter.setOpacity(0.45); // over the black of the image area
    painter.drawImage(blit.target.translated(area.topLeft()), image, blit.source);
    painter.restore();
}

void ComparisonPane::paintLabel(QPainter &painter, const QString &text, const QRectF &area, Qt::Alignment corner) const
{
    const QFont font = TextStyles::caption();
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(text) + 12, metrics.height() + 6);
    const double left = corner & Qt::AlignRight ? area.right() - labelMargin - size.width() : area.left() + labelMargin;
    const QRectF box(QPointF(left, area.top() + labelMargin), size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 170));
    painter.drawRoundedRect(box, 5, 5);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

void ComparisonPane::paintDivider(QPainter &painter, const QRectF &area) const
{
    const double x = dividerX();
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    // The handle: a disc with an arrow to each side.
    const QPointF centre(x, area.center().y());
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
    painter.drawEllipse(centre, handleRadius, handleRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x3a, 0x3c));
    for (const double side : {-1.0, 1.0}) {
        const QPointF tip = centre + QPointF(side * 7, 0);
        painter.drawPolygon(QPolygonF({tip, tip + QPointF(-side * 4, -4), tip + QPointF(-side * 4, 4)}));
    }
}

void ComparisonPane::paintPlaceholder(QPainter &painter, const QRectF &area)
{
    const QFont font = TextStyles::callout();
    const QFontMetricsF metrics(font);
    const double textHeight = metrics.height();
    const double total = placeholderIconSize + placeholderSpacing + textHeight;
    const double top = area.center().y() - total / 2;
    const QColor grey(0x8e, 0x8e, 0x93);

    const QPixmap icon = AppIcons::pixmap(AppIcons::Symbol::Film, QSize(placeholderIconSize, placeholderIconSize), grey,
                                          devicePixelRatioF());
    painter.drawPixmap(QPointF(area.center().x() - placeholderIconSize / 2.0, top), icon);
    painter.setFont(font);
    painter.setPen(grey);
    painter.drawText(QRectF(area.left(), top + placeholderIconSize + placeholderSpacing, area.width(), textHeight),
                     Qt::AlignHCenter | Qt::AlignTop, tr("Noch keine Vorschau"));
}

void ComparisonPane::reportSize()
{
    model_->setPreviewSize(imageArea().size());
}

void ComparisonPane::resizeEvent(QResizeEvent *)
{
    reportSize();
}

void ComparisonPane::showEvent(QShowEvent *)
{
    reportSize();
}

void ComparisonPane::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !imageArea().contains(event->position()))
        return QWidget::mousePressEvent(event);
    movingDivider_ = onDivider(event->position());
    pressPoint_ = event->position();
    dragStart_.reset(); // a drag that ended without a release (the window lost the pointer)
    event->accept();
}

void ComparisonPane::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        onDivider(event->position()) ? setCursor(Qt::SplitHCursor) : unsetCursor();
        return QWidget::mouseMoveEvent(event);
    }
    if (!pressPoint_)
        return QWidget::mouseMoveEvent(event);
    event->accept();
    if (movingDivider_) {
        const QRectF area = imageArea();
        divider_ = std::clamp((event->position().x() - area.left()) / area.width(), 0.0, 1.0);
        update();
        return;
    }
    const QPointF t = event->position() - *pressPoint_;
    // The drag begins once the pointer is 10 points from where it was pressed, and then counts
    // from the press point, so the picture catches up with the pointer at once.
    if (!dragStart_) {
        if (std::hypot(t.x(), t.y()) < dragThreshold)
            return;
        dragStart_ = model_->pan();
    }
    model_->setPan(QSizeF(dragStart_->width() + t.x(), dragStart_->height() + t.y()));
}

void ComparisonPane::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    // A click that neither dragged nor moved the divider shows the flip view's other frame.
    if (pressPoint_ && !dragStart_ && !movingDivider_ && view() == View::Flip)
        flip();
    pressPoint_.reset();
    dragStart_.reset();
    movingDivider_ = false;
    event->accept();
}

void ComparisonPane::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !imageArea().contains(event->position()))
        return QWidget::mouseDoubleClickEvent(event);
    model_->setZoom(1);
    model_->setPan(QSizeF(0, 0));
    // The double-click's first click flipped the frame: a double-click keeps the frame shown.
    if (view() == View::Flip)
        flip();
    event->accept();
}

void ComparisonPane::wheelEvent(QWheelEvent *event)
{
    const QRectF area = imageArea();
    const int steps = event->angleDelta().y();
    if (steps == 0 || !area.contains(event->position()))
        return QWidget::wheelEvent(event);
    model_->zoomTowards(event->position() - area.center(), std::pow(2.0, steps / wheelUnitsPerDoubling));
    event->accept();
}
