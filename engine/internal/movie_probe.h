#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/movie_info.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QUrl>
#include <optional>

// Condenses ffprobe's JSON (-show_format -show_streams -of json) into a MovieInfo, or throws
// PreviewError with the German reason why the movie cannot be compared.
MovieInfo movieInfoFromProbe(const QJsonObject &json, const QUrl &url);

// ffprobe's standard output as a JSON object. Throws a system PreviewError with the parser's text when it
// is not JSON, PreviewError when the top level is not an object.
QJsonObject parseProbeOutput(const QByteArray &output);

// The probe output's "streams" list when it is a list of objects; empty otherwise.
QList<QJsonObject> probeStreams(const QJsonObject &json);
// A JSON number with an integral value; nothing for any other value.
std::optional<qint64> jsonInteger(const QJsonValue &value);
