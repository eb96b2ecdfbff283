#pragma once

#include "engine/cancel_token.h"
#include "engine/comparison_settings.h"
#include "engine/movie_info.h"
#include "model/glance_model.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <exception>
#include <memory>
#include <optional>

class PreviewEngine;

// One open or comparison job of the model. It holds the engine from its start until it ends, and
// watches the model without keeping it: a job whose model is gone ends silently. Only the
// current job writes its outcome to the model; a superseded one ends silently, whatever its
// ending, and so does a cancelled one. A comparison job goes on after the comparison is shown: it
// has the engine measure the quality of the encode, and then make the clips for every frame.
struct GlanceModel::Job {
    explicit Job(GlanceModel &owner);

    QPointer<GlanceModel> model;
    std::shared_ptr<PreviewEngine> engine;
    // The comparison job's inputs, copied when it is scheduled.
    MovieInfo movie;
    ComparisonSettings settings;

    CancelToken token;
    std::unique_ptr<QTimer> pause;
    // Where the engine's answers arrive, on the GUI thread, whether or not the model is still there.
    QObject context;
    // Receives the engine's progress reports on the GUI thread; reports still on their way when
    // the job is gone are dropped with it.
    QObject progressReceiver;
    // Since the comparison's rendering began; read on the engine's thread once started.
    QElapsedTimer clock;

    // A job cancelled during its pause ends at once; one that awaits the engine ends when the
    // engine lets go of it (which ends a running tool at once).
    void cancel();

    // Probes the movie; on success the model shows it and asks for its first comparison.
    static void probe(const std::shared_ptr<Job> &job, const QUrl &url);
    // Renders the job's inputs, shows the comparison, then measures its quality.
    static void render(const std::shared_ptr<Job> &job);
    // The same after a pause that cancelling the job ends.
    static void renderAfterPause(const std::shared_ptr<Job> &job, int pauseMs);

    // The quality line while the engine measures.
    static QString measuringText();

private:
    struct Frames;

    // Whether the job is still the model's current one and not cancelled.
    bool isCurrent() const;
    // Lets go of the engine and the model; returns the model (if still there) for the last steps.
    GlanceModel *end();
    // The model when the job is still its current one and was not cancelled, otherwise nothing.
    static GlanceModel *endAsCurrent(const std::shared_ptr<Job> &job);
    static void applyProbe(GlanceModel &model, std::optional<MovieInfo> movie, const std::exception_ptr &failure);
    // Shows the comparison; true when it is shown.
    bool applyComparison(std::optional<Frames> frames, const std::exception_ptr &failure);
    static void measure(const std::shared_ptr<Job> &job);
    // Has the engine make the comparison's playback clips and opens them.
    static void playback(const std::shared_ptr<Job> &job);
};
