#include "ui/settings_panel.h"

#include "engine/comparison_limits.h"
#include "engine/comparison_texts.h"
#include "engine/number_text.h"
#include "model/glance_model.h"
#include "ui/app_icons.h"
#include "ui/boxed_label.h"
#include "ui/busy_spinner.h"
#include "ui/slider_binding.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Sliders count in whole numbers: the scene in milliseconds, the bitrate in tenths.
constexpr double sceneScale = 1000;
constexpr double bitrateScale = 10;

QString resolutionText()
{
    return QCoreApplication::translate("SettingsPanel", "Auflösung");
}

// "Quelle: H264 · 1920 × 1080 · 8.52 Mbit/s"
QString sourceLineText(const MovieInfo &movie)
{
    QString text = QCoreApplication::translate("SettingsPanel", "Quelle: %1 · %2 × %3")
                       .arg(movie.codec.toUpper())
                       .arg(movie.width)
                       .arg(movie.height);
    if (movie.bitrate)
        text += QStringLiteral(" · ") + ViewTexts::mbit(fixedText(*movie.bitrate / 1'000'000.0, 2));
    return text;
}

// Small buttons as wide as their text needs, not the style's minimum width for push buttons.
QPushButton *compactButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    const int width = button->fontMetrics().horizontalAdvance(text) + 28;
    button->setFixedWidth(std::max(44, width));
    return button;
}

} // namespace

SettingsPanel::SettingsPanel(GlanceModel *model, std::function<bool()> canFitWindow, QWidget *parent)
    : QWidget(parent), model_(model), canFitWindow_(std::move(canFitWindow))
{
    setObjectName(QStringLiteral("controls"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(14, 14, 14, 14);
    rows->setSpacing(12);
    rows->addLayout(makeSceneRow());
    bitrateRow_ = makeBitrateRow();
    rows->addLayout(bitrateRow_);
    rows->addLayout(makeResolutionRow());

    connect(model_, &GlanceModel::movieChanged, this, &SettingsPanel::showMovie);
    connect(model_, &GlanceModel::maxHeightChanged, this, &SettingsPanel::showMaxHeight);
    connect(model_, &GlanceModel::busyChanged, this, &SettingsPanel::showBusy);
    showMovie();
    showMaxHeight();
    showBusy();
}

QLayout *SettingsPanel::makeSceneRow()
{
    auto *row = new QHBoxLayout;
    auto *slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("sceneSlider"));
    slider->setAccessibleName(tr("Szene"));
    row->addWidget(boxedLabel(slider->accessibleName(), 76, Qt::AlignLeft, this));
    slider->setSingleStep(100);
    slider->setPageStep(1000);
    reportHolding(slider);
    scene_ = new SliderBinding(slider, sceneScale, model_, &GlanceModel::seconds, &GlanceModel::setSeconds,
                               &GlanceModel::secondsChanged);
    scene_->setValueText(timeText);
    row->addWidget(slider, 1);

    timeLabel_ = boxedLabel(timeText(model_->seconds()), 80, Qt::AlignHCenter, this);
    timeLabel_->setObjectName(QStringLiteral("timeLabel"));
    connect(model_, &GlanceModel::secondsChanged, timeLabel_,
            [this] { timeLabel_->setText(timeText(model_->seconds())); });
    row->addWidget(timeLabel_);

    auto *back = compactButton(QStringLiteral("−1 s"), this);
    back->setObjectName(QStringLiteral("backButton"));
    back->setToolTip(tr("Eine Sekunde früher"));
    connect(back, &QPushButton::clicked, this, [this] { model_->setSeconds(std::max(model_->seconds() - 1, 0.0)); });
    row->addWidget(back);
    auto *forward = compactButton(QStringLiteral("+1 s"), this);
    forward->setObjectName(QStringLiteral("forwardButton"));
    forward->setToolTip(tr("Eine Sekunde später"));
    connect(forward, &QPushButton::clicked, this, [this] {
        // Stops a tenth of a second before the end, at 0 for a movie shorter than that.
        model_->setSeconds(std::min(model_->seconds() + 1, std::max(duration() - 0.1, 0.0)));
    });
    row->addWidget(forward);
    return row;
}

QLayout *SettingsPanel::makeBitrateRow()
{
    auto *row = new QHBoxLayout;
    auto *slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("bitrateSlider"));
    slider->setAccessibleName(tr("Bitrate"));
    row->addWidget(boxedLabel(slider->accessibleName(), 76, Qt::AlignLeft, this));
    slider->setPageStep(10);
    reportHolding(slider);
    auto *binding = new SliderBinding(slider, bitrateScale, model_, &GlanceModel::mbps, &GlanceModel::setMbps,
                                      &GlanceModel::mbpsChanged);
    binding->setRange(ComparisonLimits::minMbps, ComparisonLimits::maxMbps);
    const auto mbpsText = [](double mbps) { return ViewTexts::mbit(fixedText(mbps, 1)); };
    binding->setValueText(mbpsText);
    row->addWidget(slider, 1);

    bitrateLabel_ = boxedLabel(mbpsText(model_->mbps()), 100, Qt::AlignHCenter, this);
    bitrateLabel_->setObjectName(QStringLiteral("bitrateLabel"));
    connect(model_, &GlanceModel::mbpsChanged, bitrateLabel_,
            [this, mbpsText] { bitrateLabel_->setText(mbpsText(model_->mbps())); });
    row->addWidget(bitrateLabel_);

    for (const double preset : ComparisonLimits::presetMbps) {
        auto *button = compactButton(QString::asprintf("%g", preset), this);
        button->setObjectName(QStringLiteral("preset"));
        button->setAccessibleName(ViewTexts::mbit(button->text()));
        button->setToolTip(button->accessibleName());
        connect(button, &QPushButton::clicked, this, [this, preset] { model_->setMbps(preset); });
        row->addWidget(button);
    }
    return row;
}

QLayout *SettingsPanel::makeResolutionRow()
{
    auto *row = new QHBoxLayout;
    auto *box = new QWidget(this);
    box->setFixedWidth(240);
    auto *boxRow = new QHBoxLayout(box);
    boxRow->setContentsMargins(0, 0, 0, 0);
    boxRow->addStretch(1);
    boxRow->addWidget(new QLabel(resolutionText(), box));

    resolutionButton_ = new QToolButton(box);
    resolutionButton_->setObjectName(QStringLiteral("resolutionButton"));
    resolutionButton_->setPopupMode(QToolButton::InstantPopup);
    resolutionButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    resolutionButton_->setMinimumWidth(100);
    auto *menu = new QMenu(resolutionButton_);
    menu->addSection(resolutionText());
    heightGroup_ = new QActionGroup(menu);
    heightGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const qint64 limit : ComparisonLimits::heightLimits) {
        QAction *action = menu->addAction(ViewTexts::heightLimit(limit));
        action->setCheckable(true);
        action->setData(limit);
        heightGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, limit] {
            model_->setMaxHeight(limit);
            showMaxHeight(); // choosing the checked item again must leave it checked
        });
    }
    menu->addSeparator();
    fitAction_ = menu->addAction(tr("Fenster auf Quelle anpassen"));
    connect(fitAction_, &QAction::triggered, this, &SettingsPanel::fitWindowRequested);
    // Full screen is not watched: the menu asks when it opens.
    connect(menu, &QMenu::aboutToShow, this, &SettingsPanel::updateFitAction);
    resolutionButton_->setMenu(menu);
    boxRow->addWidget(resolutionButton_);
    boxRow->addStretch(1);
    row->addWidget(box);

    sourceLine_ = TextStyles::captionLabel(QStringLiteral("sourceLine"), this);
    row->addWidget(sourceLine_);
    row->addStretch(1);
    row->addWidget(makeRecomputeButton());
    return row;
}

QWidget *SettingsPanel::makeRecomputeButton()
{
    recomputeButton_ = new QPushButton(this);
    recomputeButton_->setObjectName(QStringLiteral("recomputeButton"));
    auto *label = new QHBoxLayout(recomputeButton_);
    label->setContentsMargins(12, 4, 12, 4);
    label->setSpacing(7);
    // The arrow, or a spinner of the same size while a comparison is computed.
    recomputeIcon_ = new QStackedWidget(recomputeButton_);
    recomputeIcon_->setFixedSize(14, 14);
    auto *arrow = new QLabel(recomputeIcon_);
    arrow->setPixmap(AppIcons::pixmap(AppIcons::Symbol::Refresh, QSize(14, 14), palette().color(QPalette::ButtonText),
                                      devicePixelRatioF()));
    recomputeIcon_->addWidget(arrow);
    auto *spinner = new BusySpinner(14, recomputeIcon_);
    spinner->setObjectName(QStringLiteral("recomputeSpinner"));
    recomputeIcon_->addWidget(spinner);
    label->addWidget(recomputeIcon_);
    // The text sits in a child label, so the button gets its name by hand.
    recomputeButton_->setAccessibleName(tr("Neu berechnen"));
    recomputeButton_->setToolTip(tr("Den Vergleich sofort berechnen"));
    auto *text = new QLabel(recomputeButton_->accessibleName(), recomputeButton_);
    label->addWidget(text);
    recomputeIcon_->setAttribute(Qt::WA_TransparentForMouseEvents);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    recomputeButton_->setMinimumSize(label->sizeHint().expandedTo(recomputeButton_->sizeHint()));
    connect(recomputeButton_, &QPushButton::clicked, this, [this] { model_->schedulePreview(true); });
    return recomputeButton_;
}

void SettingsPanel::reportHolding(QSlider *slider)
{
    connect(slider, &QSlider::sliderPressed, this, [this] { emit sliderHeld(true); });
    connect(slider, &QSlider::sliderReleased, this, [this] { emit sliderHeld(false); });
}

QSlider *SettingsPanel::sceneSlider() const
{
    return findChild<QSlider *>(QStringLiteral("sceneSlider"));
}

double SettingsPanel::sceneValuesPerSecond() const
{
    return sceneScale;
}

// The panel's rows are its layout's items, the scene row first.
void SettingsPanel::addToSceneRow(QWidget *widget)
{
    static_cast<QBoxLayout *>(layout()->itemAt(0)->layout())->addWidget(widget);
}

void SettingsPanel::addUnderSceneRow(QWidget *widget)
{
    static_cast<QBoxLayout *>(layout())->insertWidget(1, widget);
}

void SettingsPanel::addUnderBitrateRow(QWidget *widget)
{
    auto *rows = static_cast<QBoxLayout *>(layout());
    rows->insertWidget(rows->indexOf(bitrateRow_) + 1, widget);
}

void SettingsPanel::addRow(QWidget *widget)
{
    layout()->addWidget(widget);
}

double SettingsPanel::duration() const
{
    return model_->movie() ? model_->movie()->duration : 1.0;
}

void SettingsPanel::updateFitAction()
{
    fitAction_->setEnabled(model_->movie() && canFitWindow_());
}

void SettingsPanel::showMovie()
{
    const std::optional<MovieInfo> &movie = model_->movie();
    setEnabled(movie.has_value());
    sourceLine_->setVisible(movie.has_value());
    sourceLine_->setText(movie ? sourceLineText(*movie) : QString());
    // The slider never ends before 1 s.
    scene_->setRange(0, std::max(duration() - 0.1, 1.0));
    updateFitAction();
}

void SettingsPanel::showMaxHeight()
{
    const qint64 limit = model_->maxHeight();
    resolutionButton_->setText(ViewTexts::heightLimit(limit));
    resolutionButton_->setAccessibleName(resolutionText() + QStringLiteral(": ") + ViewTexts::heightLimit(limit));
    const QList<QAction *> actions = heightGroup_->actions();
    for (QAction *action : actions)
        action->setChecked(action->data().toLongLong() == limit);
}

void SettingsPanel::showBusy()
{
    const bool busy = model_->busy();
    recomputeIcon_->setCurrentIndex(busy ? 1 : 0);
    recomputeButton_->setEnabled(!busy);
}

void SettingsPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 10, 10);
    // The faint shade of the text colour, not the paler one of the disabled panel.
    QColor faint = palette().color(isActiveWindow() ? QPalette::Active : QPalette::Inactive, QPalette::WindowText);
    faint.setAlphaF(0.06);
    painter.fillPath(shape, faint);
}
