// Timing and memory figures that need the program's own parts rather than its front end:
//   bitglance-bench engine TOOLS FILM   render times through the engine, one JSON line
//   bitglance-bench model TOOLS FILM    a return to a bitrate seen before, through the model
//   bitglance-bench window TOOLS FILM   the window program's peak memory during one comparison
//   bitglance-bench frames TOOLS FILM   every frame of one comparison in the window: steps, jumps,
//                                       playback and the memory the clip's frames take
// Run by bench/responsiveness_bench.sh, which prints the ratios.

#include "engine/cancelled_error.h"
#include "engine/preview_engine.h"
#include "engine/render_progress.h"
#include "model/clip_player.h"
#include "model/glance_model.h"
#include "ui/glance_view.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

double secondsOf(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// A figure of the process's memory in MiB: "VmHWM" the peak resident memory so far, "VmRSS" the
// resident memory now.
double memoryMiB(const char *field = "VmHWM")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double peakMiB()
{
    return memoryMiB("VmHWM");
}

// Runs the event loop until done() or the timeout; whether done() came true. The loop sleeps
// between events, so that the waiting takes no core from the work it waits for.
template <typename Done> bool waitFor(Done done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QTimer tick; // wakes the loop to look again
    tick.start(5);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

int engineFigures(const QString &tools, const QString &path)
{
    PreviewEngine engine(tools);
    const MovieInfo movie = engine.probe(QUrl::fromLocalFile(path)).result();
    const double scene = movie.duration / 2;
    QElapsedTimer timer;

    timer.start();
    engine.render(movie, {scene, 2, 0}).waitForFinished();
    const double fresh = secondsOf(timer);

    timer.restart();
    engine.render(movie, {scene, 2, 0}).waitForFinished();
    const double cacheHit = secondsOf(timer);

    // A change during an encode: the running encode is cancelled once it has made a few frames,
    // and another bitrate is asked for at once. x265 takes longer for more bits, so the render it
    // is set against asks for almost the same bitrate.
    CancelToken token;
    std::atomic<bool> encoding = false;
    QFuture<PreviewResult> superseded =
        engine.render(movie, {scene, 6, 0}, token, [&encoding](const RenderProgress &progress) {
            if (progress.step == RenderProgress::Step::Encode && progress.frames > 0)
                encoding = true;
        });
    while (!encoding && !superseded.isFinished())
        QThread::msleep(5);
    timer.restart();
    token.cancel();
    QFuture<PreviewResult> next = engine.render(movie, {scene, 4, 0});
    try {
        superseded.waitForFinished();
    } catch (const CancelledError &) {
        // what a superseded render ends with
    }
    const double cancelled = secondsOf(timer);
    next.waitForFinished();
    const double change = secondsOf(timer);

    timer.restart();
    engine.render(movie, {scene, 4.1, 0}).waitForFinished();
    const double bitrateOnly = secondsOf(timer);

    std::printf("{\"fresh\":%.3f,\"bitrateOnly\":%.3f,\"cacheHit\":%.4f,\"changeDuringEncode\":%.3f,"
                "\"cancelToEnd\":%.3f,\"width\":%lld,\"height\":%lld}\n",
                fresh, bitrateOnly, cacheHit, change, cancelled, movie.width, movie.height);
    return 0;
}

// Waits until the model has shown a comparison for the current settings.
bool waitForComparison(GlanceModel &model, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!model.busy() && !model.encoded().isNull() && model.comparisonMbps() == model.mbps())
            return true;
    }
    return false;
}

int modelFigures(const QString &tools, const QString &movie)
{
    const auto model = std::make_unique<GlanceModel>(tools);
    model->openMovie(movie);
    if (!waitForComparison(*model, 300000))
        return 1;
    model->setMbps(5);
    model->schedulePreview(true);
    if (!waitForComparison(*model, 300000))
        return 1;
    QElapsedTimer timer;
    timer.start();
    model->setMbps(2);
    model->schedulePreview(true);
    if (!waitForComparison(*model, 300000))
        return 1;
    std::printf("{\"modelCacheHit\":%.4f}\n", secondsOf(timer));
    return 0;
}

int windowFigures(const QString &tools, const QString &movie)
{
    auto *window = new MainWindow(nullptr, new GlanceModel(tools));
    window->show();
    GlanceModel &model = *window->view()->model();
    const double before = peakMiB();
    model.openMovie(movie);
    const bool done = waitForComparison(model, 300000);
    // The quality numbers follow the pictures; wait for them as a user would.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 60000 && model.busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("{\"windowPeakMiB\":%.1f,\"beforeFilmMiB\":%.1f}\n", peakMiB(), before);
    delete window;
    return done ? 0 : 1;
}

// The window shows one comparison of the film and its clips; then, in its own event loop as a
// user would meet it: steps to the next frame and jumps to frames far apart (the time until both
// pictures are on screen, painted), a playback of two loops at the panes' size (the frames
// skipped), and how much the process grew from the opening of the clips to its peak.
int frameFigures(const QString &tools, const QString &movie)
{
    auto *window = new MainWindow(nullptr, new GlanceModel(tools));
    window->show();
    GlanceModel &model = *window->view()->model();
    ClipPlayer &player = *model.player();
    model.openMovie(movie);
    if (!waitForComparison(model, 300000)
        || !waitFor([&] { return player.state() != ClipPlayer::State::Closed; }, 300000))
        return 1;
    // The peak from here on: the clips' frames and whatever the window does with them.
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
    refs.close();
    const double before = memoryMiB("VmRSS");
    if (!waitFor([&] { return player.state() == ClipPlayer::State::Ready && model.shownFrame() >= 0; }, 300000))
        return 1;
    QElapsedTimer timer;
    const auto shown = [&](qint64 frame, int pauseMs = 250) {
        timer.start();
        frame < 0 ? player.step(1) : player.showFrame(frame);
        const qint64 wanted = player.target();
        if (!waitFor([&] { return model.shownFrame() == wanted; }, 10000))
            return -1.0;
        window->repaint(); // both panes painted
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        waitFor([] { return false; }, pauseMs); // a user's pace: the reader decodes around the frame meanwhile
        return ms;
    };
    const qint64 count = player.frameCount();
    QList<double> steps, held, jumps;
    // Jumps first, each to a frame no decode has come near yet: alternately in the first and the
    // second half, six frames on each time.
    for (qint64 i = 0; i < 12 && 6 * (i / 2) + 3 < count / 2; ++i)
        jumps << shown(6 * (i / 2) + 3 + (i % 2) * (count / 2));
    player.showFrame(0);
    waitFor([&] { return model.shownFrame() == 0; }, 10000);
    for (int i = 0; i < std::min<qint64>(20, count - 1); ++i)
        steps << shown(-1);
    for (int i = 0; i < 20; ++i) // a key held down: each step as soon as the last is shown
        held << shown(-1, 0);
    player.play();
    const double loop = player.seconds(count - 1) * count / std::max<qint64>(1, count - 1);
    waitFor([] { return false; }, int(2000 * loop));
    player.pause();
    const double skipped = player.dueFrames() > 0 ? 100.0 * player.skippedFrames() / player.dueFrames() : -1;
    std::printf("{\"frames\":%lld,\"stepMs\":%.1f,\"stepHeldMs\":%.1f,\"jumpMs\":%.1f,\"playSkippedPercent\":%.1f,"
                "\"playDue\":%lld,"
                "\"paneWidth\":%.0f,\"clipMemoryMiB\":%.1f,\"beforeClipMiB\":%.1f}\n",
                count, median(steps), median(held), median(jumps), skipped, player.dueFrames(),
                model.previewSize().width(), peakMiB() - before, before);
    delete window;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: bitglance-bench engine|model|window|frames TOOLS FILM\n", stderr);
        return 2;
    }
    const QString mode = arguments.at(1);
    if (mode == QLatin1String("engine"))
        return engineFigures(arguments.at(2), arguments.at(3));
    if (mode == QLatin1String("model"))
        return modelFigures(arguments.at(2), arguments.at(3));
    if (mode == QLatin1String("frames"))
        return frameFigures(arguments.at(2), arguments.at(3));
    return windowFigures(arguments.at(2), arguments.at(3));
}
