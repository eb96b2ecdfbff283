#pragma once

#include <QString>
#include <QStringList>

// Films made on the fly with the system's ffmpeg, and the real tools for tests that need them.
namespace TestFilms {

// A folder with links to the system's ffmpeg and ffprobe (lives until the process ends).
// Empty when the system has no ffmpeg.
QString systemToolsDirectory();

// Runs the system's ffmpeg with "-v error -nostdin -y" + arguments; true on success.
bool ffmpeg(const QStringList &arguments, QString *errorText = nullptr);

// A film whose every frame carries its own frame number in its brightness: luma = 16 + 2 × (n mod 100)
// for frame n. H.264 lossless, yuv420p, no audio.
// Written once per process into a cached folder; returns the path, empty on failure.
QString numberedFilm(int width, int height, int fps, double seconds);

// A short film with detail and motion (testsrc2), H.264, AAC audio; cached like numberedFilm.
QString sampleFilm(int width, int height, int fps, double seconds);

// Any file made by the system's ffmpeg: "-v error -nostdin -y" + arguments + the file's path.
// Made once per process under the given file name (its extension chooses the container);
// returns the path, empty on failure.
QString film(const QString &name, const QStringList &arguments);

// An MP4 whose first stream is a cover picture (64×64 red MJPEG, disposition attached_pic) and
// whose second stream is sampleFilm(160, 120, 25, 1)'s video. ffmpeg itself always writes the
// cover last, so the boxes are reordered afterwards. Empty on failure.
QString coverFirstFilm();

// The folder of real camera footage next to the project, or an empty text when it is absent.
QString mediaDirectory();

// The frame number (mod 100) that a frame of numberedFilm shows, or -1 when it does not decode.
int frameNumberOf(const QByteArray &png);

} // namespace TestFilms
