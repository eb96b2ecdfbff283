#pragma once

#include "cancel_token.h"
#include "glance_model.h"
#include "movie_info.h"

#include <QString>
#include <QTimer>
#include <exception>
#include <memory>
#include <optional>

class PreviewEngine;

// One open or preview job of the model. It holds the model (and with it the engine) from its
// start until it ends; the model's task_ holds the current job, so the pair forms a cycle that
// ending the job breaks. Only the current job writes its outcome to the model; a superseded one
// ends silently, whatever its ending, and so does a cancelled one.
struct GlanceModel::Job {
    explicit Job(std::shared_ptr<GlanceModel> owner);

    std::shared_ptr<GlanceModel> model;
    std::shared_ptr<PreviewEngine> engine;
    // The preview job's inputs, copied when it is scheduled.
    MovieInfo movie;
    double seconds = 0;
    double mbps = 0;
    qint64 maxHeight = 0;

    CancelToken token;
    std::unique_ptr<QTimer> pause;

    // A job cancelled during its pause ends at once; one that awaits the engine ends when the
    // engine lets go of it.
    void cancel();

    // Probes the film; on success the model shows it and asks for its first comparison.
    static void probe(const std::shared_ptr<Job> &job, const QString &path);
    // Renders the job's inputs and shows the comparison.
    static void render(const std::shared_ptr<Job> &job);
    // The same after a pause that cancelling the job ends.
    static void renderAfterPause(const std::shared_ptr<Job> &job, int pauseMs);

private:
    struct Frames;

    // Lets go of the engine and the model; returns the model for the job's last steps.
    std::shared_ptr<GlanceModel> end();
    // The model when the job is still its current one and was not cancelled, otherwise nothing.
    static std::shared_ptr<GlanceModel> endAsCurrent(const std::shared_ptr<Job> &job);
    static void applyProbe(GlanceModel &model, std::optional<MovieInfo> movie, const std::exception_ptr &failure);
    static void applyPreview(GlanceModel &model, double targetMbps, std::optional<Frames> frames,
                             const std::exception_ptr &failure);
};
