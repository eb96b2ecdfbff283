#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/encoder_setting.h"
#include "engine/internal/clip_plan.h"

#include <QString>
#include <QStringList>

// Every argument list the engine hands to ffprobe and ffmpeg, in one place. Paths go in as they
// are; MovieFile makes a movie's path safe to hand over.
namespace FfmpegCommands {

// ffprobe: streams and format of a file as JSON (7 arguments).
QStringList probe(const QString &path);

// ffmpeg: the reference clip the plan describes, cut from the movie into lossless Ut Video
// (4:2:0) without audio, subtitles or data, scaled to the plan's height limit and to an even height;
// reports its progress on standard output (23 arguments).
QStringList referenceCut(const QString &moviePath, const ClipPlan &plan, const QString &referencePath);

// ffmpeg: the same clip for a movie whose keyframes lie too far apart for the cut above, which then
// finds no frame to start from (MPEG-TS without an index): read from leadSeconds (at most) before
// the clip's start, and the frames before it decoded and dropped (25 arguments).
QStringList referenceCutFromEarlier(const QString &moviePath, const ClipPlan &plan, double leadSeconds,
                                    const QString &referencePath);

// ffmpeg: the frame with the given index of a clip as a PNG (11 arguments). pngName is a file
// name in the folder ffmpeg runs in, never a path: ffmpeg's image writer reads a "%" in the name
// as a pattern, and the temporary folder's path may hold one. A clip of more than 8 bits (depth)
// is brought to 8-bit 4:2:0 first.
QStringList frameExtraction(const QString &clipPath, qint64 frame, const QString &pngName, int depth = 8);

// ffmpeg: every frame of an encoded clip, decoded once and in order, into lossless Ut Video in
// Matroska, so that frame n can be read without decoding the frames before it (13 arguments).
QStringList decodedCopy(const QString &encodedPath, const QString &copyPath);

// The encoder's own arguments, the one place that knows each encoder: codec, preset, bitrate,
// pixel format and tag ("-c:v", "libx265", "-preset", "veryfast", "-x265-params",
// "log-level=error", "-b:v", bits, "-pix_fmt", "yuv420p", "-tag:v", "hvc1" for the default). A
// card reached through VAAPI also names its device and, withUpload, the filter that uploads the
// frames (hardwareUpload()).
QStringList encoderArguments(const EncoderSetting &setting, qint64 bitsPerSecond, bool withUpload);
// The filter that hands frames to the card, for a setting whose encoder needs one; else empty.
QString hardwareUpload(const EncoderSetting &setting);

// ffmpeg: the reference clip encoded at the target bitrate with the setting's encoder, frame for
// frame; reports its progress on standard output (26 arguments for the default setting).
QStringList encode(const QString &referencePath, const QString &encodedPath, qint64 bitsPerSecond,
                   const EncoderSetting &setting = {});

// ffmpeg: one small frame encoded with the setting into nothing, to learn whether a graphics card
// encodes on this machine.
QStringList hardwareTest(const EncoderSetting &setting);

// ffmpeg (without its own name): the whole movie encoded as a comparison encodes its clip, video
// scaled to outputHeight and encoded with the setting, sound, subtitles and attachments copied;
// progress on the terminal, asking before it overwrites outputPath.
QStringList filmEncode(const QString &moviePath, qint64 outputHeight, const EncoderSetting &setting,
                       qint64 bitsPerSecond, const QString &outputPath);

// ffmpeg: SSIM and PSNR of the encoded clip against the reference clip in one run. Each input is
// split to feed both filters; ffmpeg's summary of each goes to the log (info level), the values of
// every frame into the stats files, whose names are relative to the folder ffmpeg runs in.
QStringList quality(const QString &encodedPath, const QString &referencePath, const QString &ssimStats,
                    const QString &psnrStats);

// ffmpeg: the two frames turned upright by rotation (0, 90, 180, 270 degrees clockwise), side by
// side, and below them a white strip of captionLines lines of black text from captionFile (DejaVu
// Sans, fontSize pixels; taken as it is, no % expansion) as one PNG. uprightHeight is the height
// of a frame once turned. captionFile and outputPng are relative to the folder ffmpeg runs in.
QStringList comparisonPicture(const QString &originalPng, const QString &encodedPng, int rotation, qint64 uprightHeight,
                              int fontSize, int captionLines, const QString &captionFile, const QString &outputPng);

} // namespace FfmpegCommands
