// Timing and memory figures that need the program's own parts rather than its front end:
//   bitglance-bench engine TOOLS FILM   render times through the engine, one JSON line
//   bitglance-bench model TOOLS FILM    a return to a bitrate seen before, through the model
//   bitglance-bench window TOOLS FILM   the window program's peak memory during one comparison
// Run by bench/responsiveness_bench.sh, which prints the ratios.

#include "engine/cancelled_error.h"
#include "engine/preview_engine.h"
#include "engine/render_progress.h"
#include "model/glance_model.h"
#include "ui/glance_view.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <cstdio>

namespace {

double secondsOf(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// The process's peak resident memory so far, in MiB.
double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: bitglance-bench engine|model|window TOOLS FILM\n", stderr);
        return 2;
    }
    const QString mode = arguments.at(1);
    if (mode == QLatin1String("engine"))
        return engineFigures(arguments.at(2), arguments.at(3));
    if (mode == QLatin1String("model"))
        return modelFigures(arguments.at(2), arguments.at(3));
    return windowFigures(arguments.at(2), arguments.at(3));
}
