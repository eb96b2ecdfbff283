#include "model/glance_model_clip.h"

#include "engine/comparison_texts.h"
#include "engine/quality_texts.h"
#include "model/clip_player.h"
#include "model/difference_image.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// "00:00:06.04": a time with hundredths, rounded half away from zero, negative shown as zero.
QString hundredthsText(double seconds)
{
    const double hundredths = std::max(0.0, std::round(seconds * 100));
    const auto total = hundredths >= 9.2e18 ? std::numeric_limits<qint64>::max() : qint64(hundredths);
    return timeText(double(total / 100)) + QString::asprintf(".%02lld", total % 100);
}

} // namespace

void GlanceModel::Clip::connect(GlanceModel &model)
{
    ClipPlayer *player = model.player_;
    QObject::connect(player, &ClipPlayer::pairShown, &model,
                     [&model](const FramePair &pair) { showPair(model, pair); });
    QObject::connect(player, &ClipPlayer::stateChanged, &model, [&model] { updateTexts(model); });
    for (const auto changed : {&GlanceModel::previewSizeChanged, &GlanceModel::zoomChanged,
                               &GlanceModel::pixelSizeChanged, &GlanceModel::viewChanged})
        QObject::connect(&model, changed, &model, [&model] { updateDecoding(model); });
}

void GlanceModel::Clip::reset(GlanceModel &model)
{
    model.startFrame_.reset();
    model.setShownFrame(model.shown_ ? model.shown_->frame : -1);
    model.player_->close();
    updateTexts(model);
}

void GlanceModel::Clip::open(GlanceModel &model, const PlaybackClips &clips)
{
    if (!model.shown_)
        return;
    std::optional<qint64> start = std::exchange(model.startFrame_, {});
    if (model.worstFrameFor_ && model.worstFrameFor_ == model.shownSettings_ && model.shown_->quality)
        start = model.shown_->quality->worstFrame();
    model.worstFrameFor_.reset();
    model.player_->open(clips, model.shown_->rotation, start.value_or(model.shownFrame_));
}

void GlanceModel::Clip::failed(GlanceModel &model, const QString &message)
{
    model.player_->setFailed(message);
}

void GlanceModel::Clip::showPair(GlanceModel &model, const FramePair &pair)
{
    model.setOriginal(pair.original);
    model.setEncoded(pair.encoded);
    // Only the difference view asks the player for the difference; it gets one for every frame.
    QImage difference = pair.difference;
    if (difference.isNull() && model.view_ == ComparisonView::Difference)
        difference = differenceImage(pair.original, pair.encoded);
    model.setDifference(difference);
    model.setShownFrame(pair.index);
    updateTexts(model);
}

void GlanceModel::Clip::updateDecoding(GlanceModel &model)
{
    const bool difference = model.view_ == ComparisonView::Difference;
    if (difference && model.difference_.isNull() && !model.original_.isNull())
        model.setDifference(differenceImage(model.original_, model.encoded_));
    model.player_->setDifferenceWanted(difference);
    // Playback decodes at the size the panes show the frames at, when that is smaller.
    const QSizeF pixels = model.pixelSize_;
    const QSizeF area = model.previewSize_;
    QSize size;
    if (pixels.width() > 0 && pixels.height() > 0 && area.width() > 0 && area.height() > 0) {
        const double scale = std::min(area.width() / pixels.width(), area.height() / pixels.height()) * model.zoom_
            * model.devicePixelRatio_;
        if (scale < 1)
            size = QSize(int(std::ceil(pixels.width() * scale)), int(std::ceil(pixels.height() * scale)));
    }
    model.player_->setPlaybackSize(size);
}

QualityNumbers GlanceModel::Clip::numbersOfFrame(const GlanceModel &model)
{
    QualityNumbers numbers = *model.shown_->quality;
    if (model.shownFrame_ >= 0 && model.shownFrame_ < numbers.frames.size()) {
        numbers.ssimFrame = numbers.frames.at(model.shownFrame_).ssim;
        numbers.psnrFrame = numbers.frames.at(model.shownFrame_).psnr;
    }
    return numbers;
}

QString GlanceModel::Clip::qualityLine(const GlanceModel &model)
{
    return ::qualityLine(numbersOfFrame(model));
}

double GlanceModel::Clip::frameSeconds(const GlanceModel &model, qint64 n)
{
    const ClipPlayer &player = *model.player_;
    const qint64 own = model.shown_->frame;
    const bool timed =
        player.state() == ClipPlayer::State::Ready && n < player.frameCount() && own < player.frameCount();
    return model.shown_->seconds + (timed ? player.seconds(n) - player.seconds(own) : 0);
}

QString GlanceModel::Clip::frameNumberText(const GlanceModel &model)
{
    const ClipPlayer &player = *model.player_;
    const qint64 count = player.state() == ClipPlayer::State::Ready ? player.frameCount() : model.shown_->frameCount;
    if (count <= 0 || model.shownFrame_ < 0)
        return {};
    return QCoreApplication::translate("GlanceModel", "Bild %1 von %2").arg(model.shownFrame_ + 1).arg(count);
}

void GlanceModel::Clip::updateTexts(GlanceModel &model)
{
    if (!model.shown_)
        return model.setFrameLine(QString());
    if (model.player_->state() == ClipPlayer::State::Failed)
        return model.setFrameLine(model.player_->failure());
    if (model.shown_->quality)
        model.setQuality(qualityLine(model));
    QString line = frameNumberText(model);
    if (line.isEmpty())
        return model.setFrameLine(line);
    line += QStringLiteral(" · ") + hundredthsText(frameSeconds(model, model.shownFrame_));
    if (model.shown_->quality && model.shownFrame_ < model.shown_->quality->frames.size()) {
        const FrameQuality &frame = model.shown_->quality->frames.at(model.shownFrame_);
        line += QStringLiteral(" · ") + qualityText(frame.ssim, frame.psnr);
    }
    model.setFrameLine(line);
}

void GlanceModel::setShownFrame(qint64 frame)
{
    if (std::exchange(shownFrame_, frame) != frame)
        emit shownFrameChanged();
}

void GlanceModel::setFrameLine(QString line)
{
    if (frameLine_ != line) {
        frameLine_ = std::move(line);
        emit frameLineChanged();
    }
}

void GlanceModel::setDevicePixelRatio(double ratio)
{
    devicePixelRatio_ = ratio;
    Clip::updateDecoding(*this); // playback's size counts physical pixels
}

void GlanceModel::showFrame(qint64 n)
{
    if (!shown_)
        return;
    const ClipPlayer::State state = player_->state();
    if (state == ClipPlayer::State::Ready || state == ClipPlayer::State::Opening)
        player_->showFrame(n);
    else if (state == ClipPlayer::State::Closed)
        startFrame_ = n;
}

void GlanceModel::showSceneOnWorstFrame(double seconds)
{
    setSeconds(seconds);
    if (shownSettings_ == settings() && player_->state() != ClipPlayer::State::Closed) {
        showWorstFrame(); // on screen already
        return;
    }
    worstFrameFor_ = settings();
    schedulePreview(true);
}

void GlanceModel::showWorstFrame()
{
    if (shown_ && shown_->quality)
        if (const std::optional<qint64> worst = shown_->quality->worstFrame())
            showFrame(*worst);
}
