#include "model/scan_memory.h"

#include "model/film_memory.h"
#include "model/glance_model.h"
#include "model/scan_model.h"

#include <algorithm>

ScanMemory::ScanMemory(GlanceModel *model, ScanModel *scans, FilmMemory *memory, QObject *parent)
    : QObject(parent), model_(model), scans_(scans), memory_(memory)
{
    // After the scan model's own answers to these, which clear what belongs to other settings.
    connect(model_, &GlanceModel::movieChanged, this, &ScanMemory::movieChanged);
    connect(model_, &GlanceModel::mbpsChanged, this, &ScanMemory::offer);
    connect(model_, &GlanceModel::maxHeightChanged, this, &ScanMemory::offer);
    connect(model_, &GlanceModel::encoderChanged, this, &ScanMemory::offer);
    connect(scans_, &ScanModel::activityChanged, this, [this] {
        if (!scans_->running())
            runEnded();
    });
    movieChanged();
}

void ScanMemory::movieChanged()
{
    const std::optional<MovieInfo> &movie = model_->movie();
    path_ = movie ? movie->path() : QString();
    state_ = {};
    if (path_.isEmpty())
        return;
    state_ = memory_->recall(path_).value_or(ScanState());
    // Times beyond the end belong to another film of the same name, size and time.
    const double end = movie->duration;
    if (state_.scan
        && std::any_of(state_.scan->scenes.cbegin(), state_.scan->scenes.cend(),
                       [end](const SceneResult &scene) { return scene.seconds > end; }))
        state_.scan.reset();
    if (state_.finder && state_.finder->result.worstSeconds > end)
        state_.finder.reset();
    offer();
}

void ScanMemory::runEnded()
{
    if (path_.isEmpty())
        return;
    ScanState state = state_;
    if (!scans_->scenes().isEmpty())
        state.scan = ScanState::Scan{model_->mbps(), model_->maxHeight(), model_->encoder(), scans_->scenes()};
    if (scans_->finderResult())
        state.finder = ScanState::Finder{model_->maxHeight(), model_->encoder(), *scans_->finderResult()};
    if (state == state_)
        return;
    state_ = state;
    memory_->remember(path_, state_);
}

void ScanMemory::offer()
{
    if (path_.isEmpty() || scans_->running())
        return;
    const ScanState::Scan *scan = state_.scan ? &*state_.scan : nullptr;
    const bool scanFits = scan && scan->mbps == model_->mbps() && scan->maxHeight == model_->maxHeight()
        && scan->encoder == model_->encoder();
    const bool finderFits =
        state_.finder && state_.finder->maxHeight == model_->maxHeight() && state_.finder->encoder == model_->encoder();
    scans_->restore(scanFits ? scan->scenes : QList<SceneResult>(),
                    finderFits ? std::optional(state_.finder->result) : std::nullopt);
}
