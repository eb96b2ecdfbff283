#include "engine/internal/movie_probe.h"

#include "engine/number_text.h"
#include "engine/preview_error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>

QJsonObject parseProbeOutput(const QByteArray &output)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(output, &error);
    if (error.error != QJsonParseError::NoError)
        throw PreviewError::system(error.errorString());
    if (!document.isObject())
        throw PreviewError::unreadableMovieData();
    return document.object();
}

std::optional<qint64> jsonInteger(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number || std::fabs(number) >= 9.2e18)
        return std::nullopt;
    return value.toInteger(qint64(number));
}

QList<QJsonObject> probeStreams(const QJsonObject &json)
{
    QList<QJsonObject> streams;
    const QJsonValue value = json.value(QLatin1String("streams"));
    if (!value.isArray())
        return streams;
    for (const QJsonValue &element : value.toArray()) {
        if (!element.isObject())
            return {};
        streams.append(element.toObject());
    }
    return streams;
}

namespace {

std::optional<QString> textValue(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

// Every key and every text value of a JSON value, one per line, for a plain substring search.
void collectTexts(const QJsonValue &value, QString &out)
{
    if (value.isString()) {
        out += value.toString();
        out += QLatin1Char('\n');
    } else if (value.isArray()) {
        for (const QJsonValue &element : value.toArray())
            collectTexts(element, out);
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            out += it.key();
            out += QLatin1Char('\n');
            collectTexts(it.value(), out);
        }
    }
}

bool isAttachedPicture(const QJsonObject &stream)
{
    const QJsonValue disposition = stream.value(QLatin1String("disposition"));
    if (!disposition.isObject())
        return false;
    const std::optional<qint64> attached = jsonInteger(disposition.toObject().value(QLatin1String("attached_pic")));
    return attached && *attached != 0;
}

double frameRate(const QJsonObject &stream)
{
    const QString rate = textValue(stream, QStringLiteral("avg_frame_rate")).value_or(QStringLiteral("25/1"));
    QList<double> numbers;
    for (const QString &piece : rate.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (const std::optional<double> number = parseNumber(piece))
            numbers.append(*number);
    }
    double fps = 25;
    if (numbers.size() == 2 && numbers[1] > 0)
        fps = numbers[0] / numbers[1];
    if (!(fps > 0))
        fps = 25;
    return fps;
}

std::optional<double> bitrate(const QJsonObject &stream)
{
    QJsonObject tags = stream.value(QLatin1String("tags")).toObject();
    for (const QJsonValue &value : tags) {
        if (!value.isString()) {
            tags = QJsonObject();
            break;
        }
    }
    QString text;
    if (const auto streamRate = textValue(stream, QStringLiteral("bit_rate")))
        text = *streamRate;
    else if (const auto bps = textValue(tags, QStringLiteral("BPS")))
        text = *bps;
    else if (const auto bpsEng = textValue(tags, QStringLiteral("BPS-eng")))
        text = *bpsEng;
    return parseNumber(text);
}

// Degrees clockwise that stand the picture upright, to the nearest quarter turn: from the display
// matrix ("rotation" in the side data, counter-clockwise as ffprobe reports it), else from the
// "rotate" tag (clockwise).
int rotation(const QJsonObject &stream)
{
    std::optional<double> degrees;
    for (const QJsonValue &entry : stream.value(QLatin1String("side_data_list")).toArray()) {
        const QJsonValue value = entry.toObject().value(QLatin1String("rotation"));
        if (value.isDouble()) {
            degrees = -value.toDouble();
            break;
        }
    }
    if (!degrees)
        degrees = parseNumber(
            textValue(stream.value(QLatin1String("tags")).toObject(), QStringLiteral("rotate")).value_or(QString()));
    if (!degrees || !std::isfinite(*degrees) || std::fabs(*degrees) > 1e9)
        return 0;
    const long quarters = std::lround(*degrees / 90.0) % 4;
    return int(quarters < 0 ? quarters + 4 : quarters) * 90;
}

} // namespace

MovieInfo movieInfoFromProbe(const QJsonObject &json, const QUrl &url)
{
    const QList<QJsonObject> streams = probeStreams(json);
    const QJsonObject *chosen = nullptr;
    for (const QJsonObject &stream : streams) {
        if (textValue(stream, QStringLiteral("codec_type")) == QLatin1String("video") && !isAttachedPicture(stream)) {
            chosen = &stream;
            break;
        }
    }
    if (!chosen)
        throw PreviewError::noVideoStream();
    const QJsonObject &stream = *chosen;

    const std::optional<qint64> width = jsonInteger(stream.value(QLatin1String("width")));
    const std::optional<qint64> height = jsonInteger(stream.value(QLatin1String("height")));
    if (!width || !height)
        throw PreviewError::noVideoStream();

    const QString transfer = textValue(stream, QStringLiteral("color_transfer")).value_or(QString());
    if (transfer == QLatin1String("smpte2084") || transfer == QLatin1String("arib-std-b67"))
        throw PreviewError::hdrNotSupported();

    if (stream.contains(QLatin1String("side_data_list"))) {
        QString sideData;
        collectTexts(stream.value(QLatin1String("side_data_list")), sideData);
        if (sideData.contains(QLatin1String("DOVI")))
            throw PreviewError::hdrNotSupported();
    }

    if (const auto fieldOrder = textValue(stream, QStringLiteral("field_order"))) {
        if (*fieldOrder != QLatin1String("unknown") && *fieldOrder != QLatin1String("progressive"))
            throw PreviewError::interlacedNotSupported();
    }

    const QJsonObject format = json.value(QLatin1String("format")).toObject();
    std::optional<double> duration = parseNumber(textValue(stream, QStringLiteral("duration")).value_or(QString()));
    if (!duration)
        duration = parseNumber(textValue(format, QStringLiteral("duration")).value_or(QString()));
    if (!duration || !(*duration > 0))
        throw PreviewError::unknownDuration();

    MovieInfo info;
    info.url = url;
    info.duration = *duration;
    info.width = *width;
    info.height = *height;
    info.fps = frameRate(stream);
    info.codec = textValue(stream, QStringLiteral("codec_name")).value_or(QStringLiteral("Video"));
    info.bitrate = bitrate(stream);
    info.rotation = rotation(stream);
    return info;
}
