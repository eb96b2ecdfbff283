#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Movies made with the system's ffmpeg, once per process, in a private folder; each function gives
// the movie's path, empty when it could not be made.
namespace TestMovies {

// A folder with links to the system's ffmpeg and ffprobe; empty when the system has none.
QString systemToolsDirectory();
// "ffmpeg -v error -nostdin -y" + arguments + the path; the name's extension picks the container.
QString movie(const QString &name, const QStringList &arguments);
// H.264 lossless, no audio, frame n showing its number in its brightness: luma 16 + 2 × (n mod 100).
QString numberedMovie(int width, int height, int fps, double seconds);
// The number (mod 100) a frame of a numbered movie shows, or -1 when the PNG does not decode.
int frameNumberOf(const QByteArray &png);
int frameNumberOf(const QImage &frame);
// A playback clip as the engine makes them (Ut Video in Matroska, 64 × 48) of numbered frames
// whose timestamps are no guide to their order: frames 5 and 6 share one millisecond, and 120 ms
// lie between frames 9 and 10 where all others are 40 ms apart.
QString numberedClip(int frames = 25);
// Detail and motion (testsrc2), H.264, with AAC audio.
QString sampleMovie(int width, int height, int fps, double seconds);
// The real footage beside the project, or an empty text when it is absent.
QString mediaDirectory();

} // namespace TestMovies
