#include "cli/scan_commands.h"

#include "analysis/bitrate_finder.h"
#include "analysis/scene_plan.h"
#include "analysis/scene_scan.h"
#include "cli/json_output.h"
#include "engine/preview_engine.h"
#include "engine/preview_error.h"
#include "engine/when_finished.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

namespace {

QByteArray sceneLine(const SceneResult &scene, const EncoderSetting &encoder)
{
    const std::optional<qint64> worst = scene.quality.worstFrame();
    return JsonOutput::object(
        {{"seconds", scene.seconds},
         {"sampleSeconds", scene.sampleSeconds},
         {"actualMbps", scene.actualMbps},
         {"worstFrameSsim", worst ? QJsonValue(scene.quality.frames.at(*worst).ssim) : QJsonValue()}},
        JsonOutput::qualityMembers(scene.quality) << JsonOutput::encoderMember(encoder));
}

// Waits in an event loop, where the engines' answers arrive, until the future has finished;
// returns its value or throws its failure.
template <typename T> T await(const QFuture<T> &future)
{
    QEventLoop loop;
    std::optional<T> value;
    std::exception_ptr failure;
    bool finished = false;
    whenFinished(future, &loop, [&](std::optional<T> result, const std::exception_ptr &error) {
        value = std::move(result);
        failure = error;
        finished = true;
        loop.quit();
    });
    if (!finished) // an answer that was there at once came without the loop
        loop.exec();
    if (failure)
        std::rethrow_exception(failure);
    return std::move(*value);
}

} // namespace

void ScanCommands::scan(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token)
{
    const MovieInfo movie = engine.probe(arguments.movie, token).result();
    const QList<double> times = ScenePlan::sceneTimes(movie.duration, arguments.scenes);
    const double mbps = arguments.mbps.constFirst();

    // Every further engine works in a folder of its own, with the same tools. Each runs an ffmpeg
    // that uses all cores: more engines than cores gain nothing and cost an encoder's memory each.
    const int cores = std::max(1, QThread::idealThreadCount());
    if (arguments.jobs > cores)
        std::fprintf(stderr,
                     "bitglance-cli: --jobs %d is more than the %d cores of this machine: %d jobs run at once\n",
                     arguments.jobs, cores, cores);
    std::vector<std::unique_ptr<PreviewEngine>> more;
    QList<PreviewEngine *> engines{&engine};
    const QString tools = QFileInfo(engine.ffmpeg()).path();
    while (engines.size() < std::min<qsizetype>(std::min(arguments.jobs, cores), times.size())) {
        more.push_back(std::make_unique<PreviewEngine>(tools));
        engines.append(more.back().get());
    }

    SceneScan scan(engines);
    // A line that cannot be written ends the scan; the failure is thrown once the engines let go.
    std::exception_ptr writeFailure;
    QObject::connect(&scan, &SceneScan::sceneFinished, [&](const SceneResult &scene) {
        if (writeFailure)
            return;
        try {
            JsonOutput::printLine(sceneLine(scene, arguments.encoder));
        } catch (...) {
            writeFailure = std::current_exception();
            token.cancel();
        }
    });
    std::exception_ptr failure;
    QList<SceneResult> scenes;
    try {
        scenes = await(scan.start(movie, times, mbps, arguments.maxHeight, token, arguments.encoder));
    } catch (...) {
        failure = std::current_exception();
    }
    if (writeFailure)
        std::rethrow_exception(writeFailure);
    if (failure)
        std::rethrow_exception(failure);

    const std::optional<ScenePlan::Summary> summary = ScenePlan::summarize(scenes);
    // The means to the places the scenes' own figures have, without the noise of the sum.
    const auto places6 = [](double value) { return std::round(value * 1e6) / 1e6; };
    JsonOutput::printLine(JsonOutput::object({{"summary", true},
                                              {"mbps", mbps},
                                              {"scenes", double(scenes.size())},
                                              {"worstSeconds", summary->worstSeconds},
                                              {"worstSsim", summary->worstSsim},
                                              {"meanSsim", places6(summary->meanSsim)},
                                              {"meanActualMbps", places6(summary->meanActualMbps)}},
                                             {JsonOutput::encoderMember(arguments.encoder)}));
}

void ScanCommands::advise(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token)
{
    const MovieInfo movie = engine.probe(arguments.movie, token).result();
    BitrateFinder finder({&engine});
    const FinderResult found =
        await(finder.start(movie, arguments.scenes, arguments.maxHeight, arguments.ssim, token, arguments.encoder));
    if (!found.mbps)
        throw PreviewError(BitrateFinder::unreachableText(arguments.ssim));
    QJsonArray tried;
    for (const BitrateSearch::Try &step : found.tried)
        tried.append(QJsonObject{{QStringLiteral("mbps"), step.mbps}, {QStringLiteral("worstSsim"), step.worstSsim}});
    JsonOutput::printLine(JsonOutput::object({{"mbps", *found.mbps},
                                              {"worstSsim", found.worstSsim},
                                              {"worstSeconds", found.worstSeconds},
                                              {"tried", tried},
                                              {"scenesChecked", found.scenesChecked},
                                              {"rounds", found.rounds}},
                                             {JsonOutput::encoderMember(arguments.encoder)}));
}
