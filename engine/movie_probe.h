#pragma once

#include "movie_info.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QUrl>
#include <optional>

// Condenses ffprobe's JSON (-show_format -show_streams -of json) into a MovieInfo, or throws
// PreviewError with the German reason why the movie cannot be compared.
MovieInfo movieInfoFromProbe(const QJsonObject &json, const QUrl &url);

// The probe output's "streams" list when it is a list of objects; empty otherwise.
QList<QJsonObject> probeStreams(const QJsonObject &json);
// A JSON number with an integral value; nothing for any other value.
std::optional<qint64> jsonInteger(const QJsonValue &value);
