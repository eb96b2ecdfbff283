#pragma once

#include <QMetaType>
#include <QString>

// Which encoder makes the encoded clip.
enum class VideoEncoder { X265, X264, SvtAv1, HevcHardware };

// How a graphics card is reached for HEVC (HevcHardware only).
enum class HardwareApi { None, Vaapi, Nvenc, Qsv };

// The encoder setting of a comparison: encoder, its preset and the bit depth of the encoded clip.
// The default is the setting Bitglance always used: x265, preset veryfast, 8 bit.
struct EncoderSetting {
    VideoEncoder encoder = VideoEncoder::X265;
    QString preset = QStringLiteral("veryfast"); // empty for a graphics card: its own default
    int depth = 8;                               // 8 or 10 bits per sample
    HardwareApi hardware = HardwareApi::None;    // the card's API, for HevcHardware

    bool isDefault() const { return *this == EncoderSetting(); }

    friend bool operator==(const EncoderSetting &, const EncoderSetting &) = default;
};

Q_DECLARE_METATYPE(EncoderSetting)
