#include "engine/film_command.h"

#include "engine/encoder_catalogue.h"
#include "engine/internal/ffmpeg_commands.h"
#include "engine/number_text.h"

#include <QFileInfo>

#include <algorithm>

namespace FilmCommand {

QString outputPath(const MovieInfo &movie, const ComparisonSettings &settings)
{
    const QFileInfo file(movie.path());
    return file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QLatin1Char('-')
        + EncoderCatalogue::cliName(settings.encoder.encoder) + QLatin1Char('-') + fixedText(settings.mbps, 1)
        + QStringLiteral("mbps.mkv");
}

QStringList arguments(const MovieInfo &movie, const ComparisonSettings &settings)
{
    const qint64 height = settings.maxHeight == 0 ? movie.height : std::min(settings.maxHeight, movie.height);
    // An absolute path: a name starting with "-" is never read as an option.
    const QString input = QFileInfo(movie.path()).absoluteFilePath();
    return FfmpegCommands::filmEncode(input, height, settings.encoder, qint64(settings.mbps * 1000000.0),
                                      outputPath(movie, settings));
}

QString shellQuoted(const QString &argument)
{
    const bool plain = !argument.isEmpty() && std::all_of(argument.begin(), argument.end(), [](QChar c) {
        return (c.unicode() < 128 && c.isLetterOrNumber()) || QStringLiteral("_-./:=,+@%").contains(c);
    });
    if (plain)
        return argument;
    QString quoted = argument;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString shellText(const MovieInfo &movie, const ComparisonSettings &settings)
{
    QStringList words{QStringLiteral("ffmpeg")};
    for (const QString &argument : arguments(movie, settings))
        words << shellQuoted(argument);
    return words.join(QLatin1Char(' '));
}

double videoMegabytes(double mbps, double seconds)
{
    return mbps * seconds / 8.0;
}

} // namespace FilmCommand
