#pragma once

#include "engine/encoder_setting.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What each encoder offers (presets, bit depths) and how the program names a setting. The
// encoder's own ffmpeg arguments are elsewhere, in the engine's table of command lines.
namespace EncoderCatalogue {

// The software encoders, in the order the window offers them; the graphics card follows when the
// machine has one that works.
QList<VideoEncoder> softwareEncoders();

// Its presets from the fastest to the slowest: x265 and x264 "ultrafast" … "veryslow", SVT-AV1
// "12" … "4"; none for a graphics card.
QStringList presets(VideoEncoder encoder);
// "veryfast" for x265 and x264, "10" for SVT-AV1, empty for a graphics card.
QString defaultPreset(VideoEncoder encoder);
// Bit depths it can write: 8 and 10 for all (a card may do less; the start-up test tells).
QList<int> depths(VideoEncoder encoder);
// The encoder's default setting: its default preset, 8 bit.
EncoderSetting defaultSetting(VideoEncoder encoder, HardwareApi hardware = HardwareApi::None);

// Command-line names: "x265", "x264", "svtav1", "hevc-hw".
QString cliName(VideoEncoder encoder);
std::optional<VideoEncoder> encoderNamed(const QString &cliName);
// "vaapi", "nvenc", "qsv"; empty for None.
QString apiName(HardwareApi api);

// The window's choices: "HEVC (x265)", "H.264 (x264)", "AV1 (SVT-AV1)", "HEVC (Grafikkarte)".
QString title(VideoEncoder encoder);
// The format it writes: "HEVC", "H.264", "AV1".
QString formatName(VideoEncoder encoder);
// The encoder itself as people call it: "x265", "x264", "SVT-AV1", and for a card its API
// ("VAAPI", "NVENC", "QSV").
QString shortName(const EncoderSetting &setting);
// The setting as the status row names it: "HEVC / x265" for the default, otherwise with the preset
// where it is not the encoder's default and the depth where it is 10: "HEVC / x265 slow · 10 bit",
// "AV1 / SVT-AV1 Preset 6", "HEVC / VAAPI".
QString settingText(const EncoderSetting &setting);

} // namespace EncoderCatalogue
