#include "model/scan_memory.h"

#include "model/film_memory.h"
#include "model/glance_model.h"
#include "model/scan_model.h"

#include <algorithm>

namespace {

ScanState shown(const FilmScanRecord &record)
{
    ScanState state;
    if (record.scan) {
        state.scenes = record.scan->scenes;
        state.scenesMbps = record.scan->mbps;
        state.scenesMaxHeight = record.scan->maxHeight;
        state.scenesEncoder = record.scan->encoder;
    }
    if (record.finder) {
        state.finderResult = record.finder->result;
        state.finderMaxHeight = record.finder->maxHeight;
        state.finderEncoder = record.finder->encoder;
    }
    return state;
}

FilmScanRecord kept(const ScanState &state)
{
    FilmScanRecord record;
    if (!state.scenes.isEmpty())
        record.scan = FilmScanRecord::Scan{state.scenesMbps, state.scenesMaxHeight, state.scenesEncoder, state.scenes};
    if (state.finderResult)
        record.finder = FilmScanRecord::Finder{state.finderMaxHeight, state.finderEncoder, *state.finderResult};
    return record;
}

} // namespace

ScanMemory::ScanMemory(GlanceModel *model, ScanModel *scans, FilmMemory *memory, QObject *parent)
    : QObject(parent), model_(model), scans_(scans), memory_(memory)
{
    // After the scan model's own answer to it, which clears the last film's results.
    connect(model_, &GlanceModel::movieChanged, this, &ScanMemory::movieChanged);
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
    record_ = {};
    if (path_.isEmpty())
        return;
    record_ = memory_->recall(path_).value_or(FilmScanRecord());
    // Times beyond the end belong to another film of the same name, size and time.
    const double end = movie->duration;
    if (record_.scan
        && std::any_of(record_.scan->scenes.cbegin(), record_.scan->scenes.cend(),
                       [end](const SceneResult &scene) { return scene.seconds > end; }))
        record_.scan.reset();
    if (record_.finder && record_.finder->result.worstSeconds > end)
        record_.finder.reset();
    if (!record_.empty() && !scans_->running())
        scans_->setState(shown(record_));
}

void ScanMemory::runEnded()
{
    if (path_.isEmpty())
        return;
    const FilmScanRecord record = kept(scans_->state());
    if (record == record_ || record.empty())
        return;
    record_ = record;
    memory_->remember(path_, record_);
}
