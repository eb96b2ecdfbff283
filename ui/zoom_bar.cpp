#include "ui/zoom_bar.h"

#include "engine/comparison_limits.h"
#include "model/glance_model.h"
#include "ui/accessible_radio_button.h"
#include "ui/boxed_label.h"
#include "ui/pane_geometry.h"
#include "ui/slider_binding.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>

#include <numbers>

namespace {
// The slider counts the zoom in hundredths.
constexpr double zoomScale = 100;

using View = GlanceModel::ComparisonView;

// What each view does, for its button's tooltip.
QString viewHelp(View view)
{
    switch (view) {
    case View::SideBySide:
        return QCoreApplication::translate("ZoomBar", "Original und HEVC-Vorschau nebeneinander");
    case View::Flip:
        return QCoreApplication::translate("ZoomBar",
                                           "Original und HEVC-Vorschau an derselben Stelle im Wechsel (Leertaste)");
    case View::Split:
        return QCoreApplication::translate("ZoomBar", "Links vom Trennstrich das Original, rechts die HEVC-Vorschau");
    case View::Difference:
        break;
    }
    return QCoreApplication::translate("ZoomBar", "Helligkeitsunterschied beider Bilder, vierfach verstärkt");
}

} // namespace

ZoomBar::ZoomBar(GlanceModel *model, QWidget *parent) : QWidget(parent), model_(model)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto *slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("zoomSlider"));
    slider->setAccessibleName(tr("Zoom"));
    row->addWidget(boxedLabel(slider->accessibleName(), 45, Qt::AlignLeft, this));
    slider->setMaximumWidth(240);
    slider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    slider->setSingleStep(10);
    slider->setPageStep(50);
    auto *binding = new SliderBinding(slider, zoomScale, model_, &GlanceModel::zoom, &GlanceModel::setZoom,
                                      &GlanceModel::zoomChanged);
    binding->setRange(ComparisonLimits::minZoom, ComparisonLimits::maxZoom);
    binding->setValueText(ViewTexts::zoom);
    row->addWidget(slider, 1);

    zoomLabel_ = boxedLabel(QString(), 45, Qt::AlignHCenter, this);
    zoomLabel_->setObjectName(QStringLiteral("zoomLabel"));
    for (const auto changed :
         {&GlanceModel::zoomChanged, &GlanceModel::previewSizeChanged, &GlanceModel::pixelSizeChanged})
        connect(model_, changed, this, &ZoomBar::showZoom);
    showZoom();
    row->addWidget(zoomLabel_);

    const auto addButton = [this, row](const QString &text, const QString &help, const QKeySequence &keys,
                                       auto action) {
        auto *button = new QPushButton(text, this);
        button->setToolTip(ViewTexts::withKey(help, keys));
        connect(button, &QPushButton::clicked, this, action);
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
        row->addWidget(button);
        return button;
    };
    addButton(tr("Einpassen"), tr("Ganzes Bild zeigen"), QKeySequence(Qt::CTRL | Qt::Key_0), [this] {
        model_->setZoom(1);
        model_->setPan(QSizeF(0, 0));
    })->setObjectName(QStringLiteral("fitZoomButton"));
    addButton(QStringLiteral("100 %"), tr("Ein Videopixel pro Bildschirmpixel"), QKeySequence(Qt::CTRL | Qt::Key_1),
              [this] { model_->zoomToActualPixels(); })
        ->setObjectName(QStringLiteral("actualPixelsButton"));
    // "+" and "-" zoom about the centre of the panes.
    for (const auto &[key, factor] :
         {std::pair(Qt::Key_Plus, std::numbers::sqrt2), std::pair(Qt::Key_Minus, 1 / std::numbers::sqrt2)})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this, factor] { model_->zoomTowards(QPointF(0, 0), factor); });

    addViewButtons(row);

    auto *hint = new QLabel(tr("Bild ziehen: beide Ansichten verschieben · Doppelklick: einpassen"), this);
    hint->setWordWrap(true);
    hint->setMinimumWidth(120);
    TextStyles::apply(hint, TextStyles::caption(), true);
    row->addWidget(hint, 1);
}

void ZoomBar::addViewButtons(QLayout *row)
{
    views_ = new QButtonGroup(this);
    for (const View view : {View::SideBySide, View::Flip, View::Split, View::Difference}) {
        auto *button = new QPushButton(ViewTexts::viewName(view), this);
        button->setObjectName(QStringLiteral("viewButton"));
        button->setAccessibleName(button->text());
        button->setCheckable(true);
        AccessibleRadioButton::use(button);
        const QKeySequence keys(Qt::Key(Qt::Key_1 + int(view)));
        button->setToolTip(ViewTexts::withKey(viewHelp(view), keys));
        views_->addButton(button, int(view));
        row->addWidget(button);
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, view] { model_->setView(view); });
    }
    connect(views_, &QButtonGroup::idClicked, this, [this](int id) { model_->setView(View(id)); });
    connect(model_, &GlanceModel::viewChanged, this, &ZoomBar::showView);
    showView();
}

void ZoomBar::showZoom()
{
    // "1.0×" is the fitted picture: the tooltip says how large that is in video pixels.
    const QString zoom = ViewTexts::zoom(model_->zoom());
    QString meaning = zoom == ViewTexts::zoom(1) ? tr("eingepasst") : tr("%1-mal eingepasst").arg(zoom.chopped(1));
    // Physical pixels per video pixel.
    const PaneGeometry shown{model_->previewSize(), model_->pixelSize(), model_->zoom(), {}};
    if (const double scale = shown.pointsPerPixel() * devicePixelRatioF(); scale > 0)
        meaning += tr(" · %1 % der Videopixel").arg(qRound64(scale * 100));
    zoomLabel_->setText(zoom);
    zoomLabel_->setToolTip(zoom + QStringLiteral(" = ") + meaning);
    zoomLabel_->setAccessibleDescription(zoomLabel_->toolTip());
}

void ZoomBar::showView()
{
    views_->button(int(model_->view()))->setChecked(true);
}
