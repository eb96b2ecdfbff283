#include "zoom_bar.h"

#include "boxed_label.h"
#include "comparison_limits.h"
#include "glance_model.h"
#include "slider_binding.h"
#include "text_styles.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {
// The slider counts the zoom in hundredths.
constexpr double zoomScale = 100;
} // namespace

ZoomBar::ZoomBar(GlanceModel *model, QWidget *parent) : QWidget(parent), model_(model)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(boxedLabel(QStringLiteral("Zoom"), 45, Qt::AlignLeft, this));

    auto *slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("zoomSlider"));
    slider->setMaximumWidth(240);
    slider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    slider->setSingleStep(10);
    slider->setPageStep(50);
    auto *binding = new SliderBinding(slider, zoomScale, model_, &GlanceModel::zoom, &GlanceModel::setZoom,
                                      &GlanceModel::zoomChanged);
    binding->setRange(ComparisonLimits::minZoom, ComparisonLimits::maxZoom);
    row->addWidget(slider, 1);

    zoomLabel_ = boxedLabel(QString(), 45, Qt::AlignHCenter, this);
    zoomLabel_->setObjectName(QStringLiteral("zoomLabel"));
    connect(model_, &GlanceModel::zoomChanged, this, &ZoomBar::showZoom);
    showZoom();
    row->addWidget(zoomLabel_);

    auto *fit = new QPushButton(QStringLiteral("Einpassen"), this);
    fit->setObjectName(QStringLiteral("fitZoomButton"));
    connect(fit, &QPushButton::clicked, this, [this] {
        model_->setZoom(1);
        model_->setPan(QSizeF(0, 0));
    });
    row->addWidget(fit);
    auto *actualPixels = new QPushButton(QStringLiteral("100 %"), this);
    actualPixels->setObjectName(QStringLiteral("actualPixelsButton"));
    connect(actualPixels, &QPushButton::clicked, this, [this] { model_->zoomToActualPixels(); });
    row->addWidget(actualPixels);

    auto *hint = new QLabel(QStringLiteral("Bild ziehen: beide Ansichten verschieben · Doppelklick: einpassen"), this);
    TextStyles::apply(hint, TextStyles::caption(), true);
    row->addWidget(hint);
    row->addStretch(1);
}

void ZoomBar::showZoom()
{
    zoomLabel_->setText(QString::asprintf("%.1f×", model_->zoom()));
}
