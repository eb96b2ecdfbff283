#include "ui/clip_panel.h"

#include "model/clip_player.h"
#include "model/glance_model.h"
#include "ui/accessible_slider.h"
#include "ui/clip_bar.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QKeySequence playKey(Qt::Key_P);

QString playText(bool playing)
{
    return playing ? QCoreApplication::translate("ClipPanel", "Anhalten")
                   : QCoreApplication::translate("ClipPanel", "Abspielen");
}

QString playIcon(bool playing)
{
    return playing ? QStringLiteral("media-playback-pause") : QStringLiteral("media-playback-start");
}

} // namespace

ClipPanel::ClipPanel(GlanceModel *model, QWidget *parent) : QWidget(parent), model_(model)
{
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    bar_ = new ClipBar(this);
    bar_->setObjectName(QStringLiteral("clipBar"));
    rows->addWidget(bar_);

    ClipPlayer *player = model_->player();
    back_ = addButton("frameBackButton", tr("Bild zurück"), QStringLiteral("media-seek-backward"),
                      QKeySequence(Qt::Key_Comma), [player] { player->step(-1); });
    play_ = addButton("playButton", playText(false), playIcon(false), playKey, [player] { player->togglePlaying(); });
    forward_ = addButton("frameForwardButton", tr("Bild vor"), QStringLiteral("media-seek-forward"),
                         QKeySequence(Qt::Key_Period), [player] { player->step(1); });
    worst_ = addButton("worstFrameButton", ViewTexts::worstFrame(), QString(), QKeySequence(Qt::Key_W),
                       [this] { model_->showWorstFrame(); });
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    for (QToolButton *button : {back_, play_, forward_, worst_})
        row->addWidget(button);
    line_ = TextStyles::captionLabel(QStringLiteral("frameLine"), this);
    line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addSpacing(8);
    row->addWidget(line_, 1);
    rows->addLayout(row);

    connect(bar_, &ClipBar::valueChanged, player, &ClipPlayer::showFrame);
    for (const auto changed : {&GlanceModel::shownFrameChanged, &GlanceModel::frameLineChanged,
                               &GlanceModel::qualityChanged, &GlanceModel::originalChanged})
        connect(model_, changed, this, &ClipPanel::showClip);
    connect(player, &ClipPlayer::stateChanged, this, &ClipPanel::showClip);
    connect(player, &ClipPlayer::playingChanged, this, &ClipPanel::showPlaying);
    showClip();
}

QToolButton *ClipPanel::addButton(const char *name, const QString &text, const QString &icon, const QKeySequence &key,
                                  const std::function<void()> &action)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setAccessibleName(text);
    button->setToolTip(ViewTexts::withKey(text, key));
    button->setFocusPolicy(Qt::TabFocus);
    const QIcon themed = icon.isEmpty() ? QIcon() : QIcon::fromTheme(icon);
    button->setIcon(themed);
    button->setToolButtonStyle(themed.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    connect(button, &QToolButton::clicked, this, action);
    // The key works in the whole window, as long as the button does.
    connect(new QShortcut(key, this), &QShortcut::activated, this, [button, action] {
        if (button->isEnabled())
            action();
    });
    return button;
}

void ClipPanel::showClip()
{
    const ClipPlayer &player = *model_->player();
    const std::optional<PreviewResult> &result = model_->shownResult();
    const bool ready = player.state() == ClipPlayer::State::Ready;
    const std::optional<QualityNumbers> quality = result ? result->quality : std::nullopt;
    bar_->setFrames(ready ? player.frameCount() : (result ? result->frameCount : 0),
                    quality ? quality->frames : QList<FrameQuality>());
    bar_->setMarks(result ? std::optional(result->sceneFrame) : std::nullopt,
                   quality ? quality->worstFrame() : std::nullopt);
    bar_->setShownFrame(model_->shownFrame());
    for (QWidget *control : std::initializer_list<QWidget *>{bar_, back_, play_, forward_})
        control->setEnabled(ready);
    worst_->setEnabled(ready && quality && !quality->frames.isEmpty());
    line_->setText(model_->frameLine());
    AccessibleSlider::setValueText(bar_, model_->frameLine()); // the frame, not its index
}

void ClipPanel::showPlaying()
{
    const bool playing = model_->player()->playing();
    play_->setText(playText(playing));
    play_->setAccessibleName(playText(playing));
    play_->setToolTip(ViewTexts::withKey(playText(playing), playKey));
    if (const QIcon icon = QIcon::fromTheme(playIcon(playing)); !icon.isNull())
        play_->setIcon(icon);
}
