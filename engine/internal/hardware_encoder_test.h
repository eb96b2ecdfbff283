#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/encoder_setting.h"
#include "engine/internal/cancellation.h"
#include "engine/internal/tool_runner.h"

#include <QList>
#include <QString>

// Which graphics cards encode HEVC on this machine: each API (VAAPI, NVENC, QSV) is asked for one
// small frame at 8 and at 10 bit, in the work folder. A try that fails or takes longer than its
// limit (10 s) counts as "does not work"; a driver that hangs is ended, never waited for.
class HardwareEncoderTest {
public:
    static constexpr int defaultTryMs = 10'000;

    HardwareEncoderTest(QString ffmpeg, const ToolRunner &runner, QString workFolder, int tryMs = defaultTryMs);

    // One setting (the card's default, at its depth) per API and depth that worked, VAAPI first.
    // Throws CancelledError only when the caller cancels.
    QList<EncoderSetting> run(const Cancellation &cancel) const;

private:
    QString ffmpeg_;
    const ToolRunner &runner_;
    QString workFolder_;
    int tryMs_;
};
