#include "engine/encoder_catalogue.h"

#include <QCoreApplication>

namespace EncoderCatalogue {

QList<VideoEncoder> softwareEncoders()
{
    return {VideoEncoder::X265, VideoEncoder::X264, VideoEncoder::SvtAv1};
}

QStringList presets(VideoEncoder encoder)
{
    switch (encoder) {
    case VideoEncoder::X265:
    case VideoEncoder::X264:
        return {QStringLiteral("ultrafast"), QStringLiteral("superfast"), QStringLiteral("veryfast"),
                QStringLiteral("faster"),    QStringLiteral("fast"),      QStringLiteral("medium"),
                QStringLiteral("slow"),      QStringLiteral("slower"),    QStringLiteral("veryslow")};
    case VideoEncoder::SvtAv1: {
        QStringList numbers;
        for (int preset = 12; preset >= 4; --preset)
            numbers.append(QString::number(preset));
        return numbers;
    }
    case VideoEncoder::HevcHardware:
        break;
    }
    return {};
}

QString defaultPreset(VideoEncoder encoder)
{
    switch (encoder) {
    case VideoEncoder::X265:
    case VideoEncoder::X264:
        return QStringLiteral("veryfast");
    case VideoEncoder::SvtAv1:
        return QStringLiteral("10");
    case VideoEncoder::HevcHardware:
        break;
    }
    return {};
}

QList<int> depths(VideoEncoder)
{
    return {8, 10};
}

EncoderSetting defaultSetting(VideoEncoder encoder, HardwareApi hardware)
{
    EncoderSetting setting;
    setting.encoder = encoder;
    setting.preset = defaultPreset(encoder);
    setting.hardware = encoder == VideoEncoder::HevcHardware ? hardware : HardwareApi::None;
    return setting;
}

QString cliName(VideoEncoder encoder)
{
    switch (encoder) {
    case VideoEncoder::X265:
        return QStringLiteral("x265");
    case VideoEncoder::X264:
        return QStringLiteral("x264");
    case VideoEncoder::SvtAv1:
        return QStringLiteral("svtav1");
    case VideoEncoder::HevcHardware:
        break;
    }
    return QStringLiteral("hevc-hw");
}

std::optional<VideoEncoder> encoderNamed(const QString &name)
{
    for (VideoEncoder encoder : softwareEncoders() + QList{VideoEncoder::HevcHardware})
        if (cliName(encoder) == name)
            return encoder;
    return std::nullopt;
}

QString apiName(HardwareApi api)
{
    switch (api) {
    case HardwareApi::Vaapi:
        return QStringLiteral("vaapi");
    case HardwareApi::Nvenc:
        return QStringLiteral("nvenc");
    case HardwareApi::Qsv:
        return QStringLiteral("qsv");
    case HardwareApi::None:
        break;
    }
    return {};
}

QString title(VideoEncoder encoder)
{
    switch (encoder) {
    case VideoEncoder::X265:
        return QStringLiteral("HEVC (x265)");
    case VideoEncoder::X264:
        return QStringLiteral("H.264 (x264)");
    case VideoEncoder::SvtAv1:
        return QStringLiteral("AV1 (SVT-AV1)");
    case VideoEncoder::HevcHardware:
        break;
    }
    return QCoreApplication::translate("EncoderCatalogue", "HEVC (Grafikkarte)");
}

QString formatName(VideoEncoder encoder)
{
    return encoder == VideoEncoder::X264  ? QStringLiteral("H.264")
        : encoder == VideoEncoder::SvtAv1 ? QStringLiteral("AV1")
                                          : QStringLiteral("HEVC");
}

QString shortName(const EncoderSetting &setting)
{
    switch (setting.encoder) {
    case VideoEncoder::X265:
        return QStringLiteral("x265");
    case VideoEncoder::X264:
        return QStringLiteral("x264");
    case VideoEncoder::SvtAv1:
        return QStringLiteral("SVT-AV1");
    case VideoEncoder::HevcHardware:
        break;
    }
    return apiName(setting.hardware).toUpper();
}

QString settingText(const EncoderSetting &setting)
{
    QString text = formatName(setting.encoder) + QStringLiteral(" / ") + shortName(setting);
    if (setting.preset != defaultPreset(setting.encoder))
        text += (setting.encoder == VideoEncoder::SvtAv1 ? QStringLiteral(" Preset ") : QStringLiteral(" "))
            + setting.preset;
    if (setting.depth != 8)
        text += QStringLiteral(" · %1 bit").arg(setting.depth);
    return text;
}

} // namespace EncoderCatalogue
