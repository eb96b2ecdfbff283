#include "comparison_pane.h"

#include "app_icons.h"
#include "glance_model.h"
#include "pane_geometry.h"
#include "text_styles.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr double titleMargin = 12;
constexpr double cornerRadius = 10;
constexpr double dragThreshold = 10;
constexpr int placeholderIconSize = 36;
constexpr double placeholderSpacing = 12;
} // namespace

ComparisonPane::ComparisonPane(const QString &title, GlanceModel *model, Side side, QWidget *parent)
    : QWidget(parent), title_(title), model_(model), side_(side)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    const auto repaint = [this] { update(); };
    connect(model_, side_ == Side::Original ? &GlanceModel::originalChanged : &GlanceModel::encodedChanged, this,
            repaint);
    connect(model_, &GlanceModel::zoomChanged, this, repaint);
    connect(model_, &GlanceModel::panChanged, this, repaint);
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

void ComparisonPane::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
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
                     painter.fontMetrics().elidedText(title_, Qt::ElideRight, int(titleRect.width())));

    const QRectF area = imageArea();
    if (area.isEmpty())
        return;
    QPainterPath areaPath;
    areaPath.addRect(area);
    const QPainterPath visible = outline.intersected(areaPath);
    painter.fillPath(visible, Qt::black);

    const QImage &image = side_ == Side::Original ? model_->original() : model_->encoded();
    if (image.isNull()) {
        paintPlaceholder(painter, area);
        return;
    }

    // Pixels stay sharp squares: no smoothing, on every device pixel ratio.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipPath(visible);
    const PaneGeometry geometry{area.size(), QSizeF(image.size()), model_->zoom(), model_->pan()};
    const PaneGeometry::Blit blit = geometry.visiblePart();
    if (!blit.source.isEmpty())
        painter.drawImage(blit.target.translated(area.topLeft()), image, blit.source);
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
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Noch keine Vorschau"));
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
    pressPoint_ = event->position();
    dragStart_.reset(); // a drag that ended without a release (the window lost the pointer)
    event->accept();
}

void ComparisonPane::mouseMoveEvent(QMouseEvent *event)
{
    if (!pressPoint_ || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    const QPointF t = event->position() - *pressPoint_;
    // The drag begins once the pointer is 10 points from where it was pressed, and then counts
    // from the press point, so the picture catches up with the pointer at once.
    if (!dragStart_) {
        if (std::hypot(t.x(), t.y()) < dragThreshold)
            return;
        dragStart_ = model_->pan();
    }
    model_->setPan(QSizeF(dragStart_->width() + t.x(), dragStart_->height() + t.y()));
    event->accept();
}

void ComparisonPane::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    pressPoint_.reset();
    dragStart_.reset();
    event->accept();
}

void ComparisonPane::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !imageArea().contains(event->position()))
        return QWidget::mouseDoubleClickEvent(event);
    model_->setZoom(1);
    model_->setPan(QSizeF(0, 0));
    event->accept();
}
