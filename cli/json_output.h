#pragma once

#include "engine/encoder_setting.h"
#include "engine/preview_result.h"
#include "engine/quality_numbers.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <optional>
#include <utility>

// The lines bitglance-cli prints: one compact JSON object per line, keys in the given order.
namespace JsonOutput {

// Thrown when standard output could not take a line because its pipe has no reader any more
// (EPIPE). Not a failure to report: the program ends as SIGPIPE would end it.
struct OutputClosed {};

QByteArray object(const QList<std::pair<const char *, QJsonValue>> &members);
// The same with further members whose values are JSON texts already, such as object()'s, so that
// nested objects keep their keys in the given order too.
QByteArray object(const QList<std::pair<const char *, QJsonValue>> &members,
                  const QList<std::pair<const char *, QByteArray>> &nested);
QJsonValue optionalNumber(const std::optional<double> &value);
// The nested members "ssim" and "psnr", each {"frame": …, "clip": …} in that order (null for an
// infinite PSNR), as render and scan print them.
QList<std::pair<const char *, QByteArray>> qualityMembers(const QualityNumbers &quality);
// "frames": [{"ssim", "psnr"}, …] for every frame of the clip in order, and "worstFrame": {"index",
// "seconds", "ssim", "psnr"} (index from 0 in the clip, seconds its movie time; null without frames).
QList<std::pair<const char *, QByteArray>> perFrameMembers(const PreviewResult &result, const QualityNumbers &quality);

// "encoder": {"name", "preset", "depth"}: the encoder setting a line's comparisons were made with
// (name as --encoder takes it, preset null for a graphics card's own).
std::pair<const char *, QByteArray> encoderMember(const EncoderSetting &setting);

// Writes the line. Throws OutputClosed for a pipe without reader or once interruptWriting() was
// called, and a system PreviewError for any other failure (a full disk, a closed descriptor).
void printLine(const QByteArray &line);
// Ends a write that waits for a reader which does not read, and any later one. Safe from any
// thread; call it again while the program is ending, as a write may only have been about to wait.
void interruptWriting();

} // namespace JsonOutput
