#pragma once

#include "engine/comparison_settings.h"
#include "engine/movie_info.h"

#include <QString>
#include <QStringList>

// The ffmpeg command that encodes the whole movie as a comparison with these settings encodes its
// clip: the same height limit, encoder, preset, bit depth and bitrate; sound, subtitles and
// attached fonts copied unchanged into a Matroska file next to the movie.
namespace FilmCommand {

// "<folder>/<name>-<encoder>-<bitrate>mbps.mkv" next to the movie, such as
// "/films/Urlaub 2024-x265-2.0mbps.mkv".
QString outputPath(const MovieInfo &movie, const ComparisonSettings &settings);
// ffmpeg's arguments, without its own name.
QStringList arguments(const MovieInfo &movie, const ComparisonSettings &settings);
// One line for a POSIX shell: "ffmpeg" and the arguments, each quoted where the shell would read
// anything in it.
QString shellText(const MovieInfo &movie, const ComparisonSettings &settings);
// An argument as a POSIX shell reads it back unchanged: as it is when it holds only letters,
// digits and "_-./:=,+@%", otherwise in single
// quotes, each single quote in it written '\''.
QString shellQuoted(const QString &argument);

// The size in megabytes (10^6 bytes) of a movie's video of `seconds` at `mbps`.
double videoMegabytes(double mbps, double seconds);

} // namespace FilmCommand
