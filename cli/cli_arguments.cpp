#include "cli_arguments.h"

#include "comparison_limits.h"
#include "number_text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QString CliArguments::usage()
{
    return QStringLiteral("usage: bitglance-cli probe  [--tools DIR] FILM\n"
                          "       bitglance-cli render [--tools DIR] FILM --seconds S --mbps M[,M...]\n"
                          "                            [--max-height 0|720|1080] [--out DIR]\n");
}

std::optional<CliArguments> CliArguments::parse(const QStringList &arguments, QString *problem)
{
    auto fail = [problem](const QString &text) -> std::optional<CliArguments> {
        *problem = text;
        return std::nullopt;
    };
    if (arguments.isEmpty())
        return fail(QStringLiteral("missing command"));

    CliArguments result;
    const QString command = arguments.first();
    if (command == QLatin1String("probe"))
        result.command = Command::Probe;
    else if (command == QLatin1String("render"))
        result.command = Command::Render;
    else
        return fail(QStringLiteral("unknown command: %1").arg(command));
    const bool render = result.command == Command::Render;

    QStringList positional;
    std::optional<double> seconds;
    bool haveMbps = false;
    QString outDirectory = QStringLiteral(".");
    bool optionsEnded = false;

    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            positional << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        // Every option takes a value, given as the next argument or after "=".
        QString name = argument;
        QString value;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
        } else {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("%1 needs a value").arg(argument));
            value = arguments.at(++i);
        }

        if (name == QLatin1String("--tools")) {
            result.toolsDirectory = absolute(value);
        } else if (render && name == QLatin1String("--seconds")) {
            seconds = parseNumber(value);
            if (!seconds)
                return fail(QStringLiteral("--seconds is not a number: %1").arg(value));
        } else if (render && name == QLatin1String("--mbps")) {
            for (const QString &piece : value.split(QLatin1Char(','))) {
                const std::optional<double> mbps = parseNumber(piece);
                if (!mbps)
                    return fail(QStringLiteral("--mbps is not a list of numbers: %1").arg(value));
                result.mbps << *mbps;
            }
            haveMbps = true;
        } else if (render && name == QLatin1String("--max-height")) {
            const auto &limits = ComparisonLimits::heightLimits;
            const auto limit =
                std::find_if(limits.begin(), limits.end(), [&value](qint64 l) { return value == QString::number(l); });
            if (limit == limits.end())
                return fail(QStringLiteral("--max-height takes 0, 720 or 1080"));
            result.maxHeight = *limit;
        } else if (render && name == QLatin1String("--out")) {
            outDirectory = value;
        } else {
            return fail(QStringLiteral("unknown option: %1").arg(name));
        }
    }

    if (positional.size() != 1)
        return fail(positional.isEmpty() ? QStringLiteral("missing FILM") : QStringLiteral("more than one FILM"));
    if (positional.first().isEmpty())
        return fail(QStringLiteral("FILM is empty"));
    result.film = absolute(positional.first());

    if (render) {
        if (!seconds)
            return fail(QStringLiteral("render needs --seconds"));
        if (!haveMbps)
            return fail(QStringLiteral("render needs --mbps"));
        result.seconds = *seconds;
        result.outDirectory = absolute(outDirectory);
    }
    return result;
}
