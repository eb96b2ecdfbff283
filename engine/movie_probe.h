#pragma once

#include "movie_info.h"

#include <QJsonObject>
#include <QUrl>

// Condenses ffprobe's JSON (-show_format -show_streams -of json) into a MovieInfo, or throws
// PreviewError with the German reason why the movie cannot be compared.
MovieInfo movieInfoFromProbe(const QJsonObject &json, const QUrl &url);
