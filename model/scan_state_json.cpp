#include "model/scan_state_json.h"

#include "engine/comparison_limits.h"
#include "engine/encoder_catalogue.h"

#include <QJsonArray>

#include <algorithm>
#include <iterator>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Bounds of what a scan or a finder run can have produced; a record beyond them is not ours.
constexpr double maxSeconds = 1e7;   // a film of nearly four months
constexpr double maxDb = 1000;       // PSNR
constexpr qint64 maxHeight = 100000; // pixel rows
constexpr qsizetype maxScenes = 1000;
constexpr qsizetype maxFrames = 100000;

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject writeEncoder(const EncoderSetting &setting)
{
    return {{u"name"_s, EncoderCatalogue::cliName(setting.encoder)},
            {u"preset"_s, setting.preset},
            {u"depth"_s, setting.depth},
            {u"api"_s, EncoderCatalogue::apiName(setting.hardware)}};
}

QJsonObject writeScene(const SceneResult &scene)
{
    QJsonArray frames;
    for (const FrameQuality &frame : scene.quality.frames)
        frames.append(QJsonArray{frame.ssim, optionalNumber(frame.psnr)});
    return {{u"seconds"_s, scene.seconds},
            {u"sceneSeconds"_s, scene.sceneSeconds},
            {u"sampleSeconds"_s, scene.sampleSeconds},
            {u"actualMbps"_s, scene.actualMbps},
            {u"ssimClip"_s, scene.quality.ssimClip},
            {u"ssimFrame"_s, scene.quality.ssimFrame},
            {u"psnrClip"_s, optionalNumber(scene.quality.psnrClip)},
            {u"psnrFrame"_s, optionalNumber(scene.quality.psnrFrame)},
            {u"frames"_s, frames}};
}

QJsonObject writeFinder(const FilmScanRecord::Finder &finder)
{
    const FinderResult &result = finder.result;
    QJsonArray tried;
    for (const BitrateSearch::Try &attempt : result.tried)
        tried.append(QJsonArray{attempt.mbps, attempt.worstSsim});
    QJsonArray curves;
    for (const FinderResult::Curve &curve : result.curves) {
        QJsonArray points;
        for (const QPointF &point : curve.points)
            points.append(QJsonArray{point.x(), point.y()});
        curves.append(QJsonObject{{u"seconds"_s, curve.seconds}, {u"points"_s, points}});
    }
    QJsonArray worstTried;
    for (const SceneResult &scene : result.worstTried)
        worstTried.append(writeScene(scene));
    return {{u"maxHeight"_s, finder.maxHeight},
            {u"encoder"_s, writeEncoder(finder.encoder)},
            {u"targetSsim"_s, result.targetSsim},
            {u"mbps"_s, optionalNumber(result.mbps)},
            {u"worstSsim"_s, result.worstSsim},
            {u"worstSeconds"_s, result.worstSeconds},
            {u"worstSceneSeconds"_s, result.worstSceneSeconds},
            {u"tried"_s, tried},
            {u"worstTried"_s, worstTried},
            {u"scenesChecked"_s, result.scenesChecked},
            {u"rounds"_s, result.rounds},
            {u"curves"_s, curves}};
}

// Reads values and notes the first that is missing or out of its range.
struct Reader {
    bool ok = true;

    double number(const QJsonValue &value, double low, double high)
    {
        const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!value.isDouble() || !(number >= low && number <= high)) // NaN fails both
            ok = false;
        return ok ? number : low;
    }
    std::optional<double> optionalNumber(const QJsonValue &value, double low, double high)
    {
        if (value.isNull())
            return std::nullopt;
        return number(value, low, high);
    }
    QJsonArray array(const QJsonValue &value, qsizetype maxSize, qsizetype size = -1)
    {
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() > maxSize || (size >= 0 && array.size() != size))
            ok = false;
        return ok ? array : QJsonArray();
    }
    double ssim(const QJsonValue &value) { return number(value, -1, 1); }
    double seconds(const QJsonValue &value) { return number(value, 0, maxSeconds); }
    double mbps(const QJsonValue &value) { return number(value, 0, ComparisonLimits::maxEngineMbps * 10); }
    std::optional<double> psnr(const QJsonValue &value) { return optionalNumber(value, -maxDb, maxDb); }

    EncoderSetting encoder(const QJsonValue &json)
    {
        EncoderSetting setting;
        const std::optional<VideoEncoder> named = EncoderCatalogue::encoderNamed(json[u"name"_s].toString());
        const QString api = json[u"api"_s].toString();
        const HardwareApi apis[] = {HardwareApi::None, HardwareApi::Vaapi, HardwareApi::Nvenc, HardwareApi::Qsv};
        const auto hardware = std::find_if(std::begin(apis), std::end(apis),
                                           [&](HardwareApi a) { return EncoderCatalogue::apiName(a) == api; });
        if (!named || hardware == std::end(apis) || !json[u"preset"_s].isString()) {
            ok = false;
            return setting;
        }
        setting.encoder = *named;
        setting.hardware = *hardware;
        setting.preset = json[u"preset"_s].toString();
        setting.depth = int(number(json[u"depth"_s], 8, 10));
        const QStringList presets = EncoderCatalogue::presets(setting.encoder);
        if (!EncoderCatalogue::depths(setting.encoder).contains(setting.depth)
            || (presets.isEmpty() ? !setting.preset.isEmpty() : !presets.contains(setting.preset)))
            ok = false;
        return setting;
    }

    SceneResult scene(const QJsonObject &json)
    {
        SceneResult scene;
        scene.seconds = seconds(json[u"seconds"_s]);
        scene.sceneSeconds = seconds(json[u"sceneSeconds"_s]);
        scene.sampleSeconds = number(json[u"sampleSeconds"_s], 0, ComparisonLimits::clipSeconds * 10);
        scene.actualMbps = mbps(json[u"actualMbps"_s]);
        scene.quality.ssimClip = ssim(json[u"ssimClip"_s]);
        scene.quality.ssimFrame = ssim(json[u"ssimFrame"_s]);
        scene.quality.psnrClip = psnr(json[u"psnrClip"_s]);
        scene.quality.psnrFrame = psnr(json[u"psnrFrame"_s]);
        for (const QJsonValue &frame : array(json[u"frames"_s], maxFrames)) {
            const QJsonArray pair = array(frame, 2, 2);
            if (!ok)
                break;
            scene.quality.frames.append({ssim(pair[0]), psnr(pair[1])});
        }
        return scene;
    }

    FilmScanRecord::Finder finder(const QJsonObject &json)
    {
        FilmScanRecord::Finder finder;
        finder.maxHeight = qint64(number(json[u"maxHeight"_s], 0, maxHeight));
        finder.encoder = encoder(json[u"encoder"_s]);
        FinderResult &result = finder.result;
        result.targetSsim = number(json[u"targetSsim"_s], 0, 1);
        result.mbps = optionalNumber(json[u"mbps"_s], ComparisonLimits::minMbps, ComparisonLimits::maxEngineMbps);
        result.worstSsim = ssim(json[u"worstSsim"_s]);
        result.worstSeconds = seconds(json[u"worstSeconds"_s]);
        result.worstSceneSeconds = seconds(json[u"worstSceneSeconds"_s]);
        for (const QJsonValue &attempt : array(json[u"tried"_s], maxScenes)) {
            const QJsonArray pair = array(attempt, 2, 2);
            result.tried.append({mbps(pair[0]), ssim(pair[1])});
        }
        // At each bitrate tried, its worst scene.
        for (const QJsonValue &scene : array(json[u"worstTried"_s], maxScenes))
            result.worstTried.append(this->scene(scene.toObject()));
        ok = ok && result.worstTried.size() == result.tried.size();
        result.scenesChecked = int(number(json[u"scenesChecked"_s], 0, maxScenes));
        result.rounds = int(number(json[u"rounds"_s], 0, maxScenes));
        for (const QJsonValue &value : array(json[u"curves"_s], maxScenes)) {
            FinderResult::Curve curve;
            curve.seconds = seconds(value[u"seconds"_s]);
            for (const QJsonValue &point : array(value[u"points"_s], maxScenes)) {
                const QJsonArray pair = array(point, 2, 2);
                curve.points.append(QPointF(mbps(pair[0]), ssim(pair[1])));
            }
            result.curves.append(curve);
        }
        return finder;
    }
};

} // namespace

namespace ScanStateJson {

QJsonObject write(const FilmScanRecord &state)
{
    QJsonObject json;
    if (state.scan) {
        QJsonArray scenes;
        for (const SceneResult &scene : state.scan->scenes)
            scenes.append(writeScene(scene));
        json[u"scan"_s] = QJsonObject{{u"mbps"_s, state.scan->mbps},
                                      {u"maxHeight"_s, state.scan->maxHeight},
                                      {u"encoder"_s, writeEncoder(state.scan->encoder)},
                                      {u"scenes"_s, scenes}};
    }
    if (state.finder)
        json[u"finder"_s] = writeFinder(*state.finder);
    return json;
}

std::optional<FilmScanRecord> read(const QJsonObject &json)
{
    Reader reader;
    FilmScanRecord state;
    if (json.contains(u"scan"_s)) {
        const QJsonObject scan = json[u"scan"_s].toObject();
        FilmScanRecord::Scan &read = state.scan.emplace();
        read.mbps = reader.number(scan[u"mbps"_s], ComparisonLimits::minMbps, ComparisonLimits::maxEngineMbps);
        read.maxHeight = qint64(reader.number(scan[u"maxHeight"_s], 0, maxHeight));
        read.encoder = reader.encoder(scan[u"encoder"_s]);
        for (const QJsonValue &scene : reader.array(scan[u"scenes"_s], maxScenes))
            read.scenes.append(reader.scene(scene.toObject()));
        reader.ok = reader.ok && !read.scenes.isEmpty() && json[u"scan"_s].isObject();
    }
    if (json.contains(u"finder"_s)) {
        state.finder = reader.finder(json[u"finder"_s].toObject());
        reader.ok = reader.ok && json[u"finder"_s].isObject();
    }
    if (!reader.ok || state.empty())
        return std::nullopt;
    return state;
}

} // namespace ScanStateJson
