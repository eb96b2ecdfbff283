#include "cli/encoder_options.h"

#include "engine/encoder_catalogue.h"

namespace {

// "a, b or c"
QString choices(const QStringList &names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + names.last();
}

} // namespace

EncoderOptions::Reading EncoderOptions::read(CliArguments &arguments, const QString &name, const QString &value,
                                             QString *problem)
{
    const auto refuse = [problem](const QString &text) {
        *problem = text;
        return Reading::Refused;
    };
    if (name == QLatin1String("--encoder")) {
        const std::optional<VideoEncoder> encoder = EncoderCatalogue::encoderNamed(value);
        if (!encoder) {
            QStringList names;
            for (VideoEncoder known : EncoderCatalogue::softwareEncoders() + QList{VideoEncoder::HevcHardware})
                names << EncoderCatalogue::cliName(known);
            return refuse(QStringLiteral("--encoder takes %1: %2").arg(choices(names), value));
        }
        arguments.encoder.encoder = *encoder;
        return Reading::Read;
    }
    if (name == QLatin1String("--preset")) {
        arguments.preset = value;
        return Reading::Read;
    }
    if (name == QLatin1String("--depth")) {
        if (value != QLatin1String("8") && value != QLatin1String("10"))
            return refuse(QStringLiteral("--depth takes 8 or 10: %1").arg(value));
        arguments.encoder.depth = value.toInt();
        return Reading::Read;
    }
    return Reading::NotMine;
}

std::optional<QString> EncoderOptions::settle(CliArguments &arguments)
{
    EncoderSetting &setting = arguments.encoder;
    const QString encoder = EncoderCatalogue::cliName(setting.encoder);
    const QStringList presets = EncoderCatalogue::presets(setting.encoder);
    if (arguments.preset && presets.isEmpty())
        return QStringLiteral("--preset: %1 takes none (the card uses its own)").arg(encoder);
    if (arguments.preset && !presets.contains(*arguments.preset))
        return QStringLiteral("--preset for %1 takes %2: %3").arg(encoder, choices(presets), *arguments.preset);
    // Every encoder writes both depths --depth takes.
    setting.preset = arguments.preset.value_or(EncoderCatalogue::defaultPreset(setting.encoder));
    return std::nullopt;
}
