#include "cli/scan_options.h"

#include "analysis/scene_plan.h"
#include "engine/comparison_limits.h"
#include "engine/number_text.h"

#include <cmath>

namespace {

// A whole number written in any way strtod reads ("12", "12.0"), or nothing.
std::optional<int> wholeNumber(const QString &text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number || !(std::abs(*number) < 1e9) || std::trunc(*number) != *number)
        return std::nullopt;
    return int(*number);
}

} // namespace

ScanOptions::Reading ScanOptions::read(CliArguments &arguments, const QString &name, const QString &value,
                                       QString *problem)
{
    using Command = CliArguments::Command;
    const auto refuse = [problem](const QString &text) {
        *problem = text;
        return Reading::Refused;
    };
    if (name == QLatin1String("--scenes")) {
        const std::optional<int> scenes = wholeNumber(value);
        if (!scenes || !ScenePlan::acceptsSceneCount(*scenes))
            return refuse(QStringLiteral("--scenes takes a whole number from %1 to %2: %3")
                              .arg(ComparisonLimits::minScanScenes)
                              .arg(ComparisonLimits::maxScanScenes)
                              .arg(value));
        arguments.scenes = *scenes;
        return Reading::Read;
    }
    if (name == QLatin1String("--jobs") && arguments.command == Command::Scan) {
        // More engines than scenes would only wait.
        const std::optional<int> jobs = wholeNumber(value);
        if (!jobs || *jobs < 1 || *jobs > ComparisonLimits::maxScanScenes)
            return refuse(QStringLiteral("--jobs takes a whole number from 1 to %1: %2")
                              .arg(ComparisonLimits::maxScanScenes)
                              .arg(value));
        arguments.jobs = *jobs;
        return Reading::Read;
    }
    if (name == QLatin1String("--ssim") && arguments.command == Command::Advise) {
        const std::optional<double> ssim = parseNumber(value);
        if (!ssim || !(*ssim > 0 && *ssim <= 1))
            return refuse(QStringLiteral("--ssim takes a number above 0 and at most 1: %1").arg(value));
        arguments.ssim = *ssim;
        return Reading::Read;
    }
    return Reading::NotMine;
}

std::optional<QString> ScanOptions::check(const CliArguments &arguments)
{
    if (arguments.command == CliArguments::Command::Scan) {
        if (arguments.mbps.isEmpty())
            return QStringLiteral("scan needs --mbps");
        if (arguments.mbps.size() > 1)
            return QStringLiteral("scan takes one bitrate");
    }
    if (arguments.command == CliArguments::Command::Advise && arguments.ssim == 0)
        return QStringLiteral("advise needs --ssim");
    return std::nullopt;
}
