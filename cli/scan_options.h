#pragma once

#include "cli/cli_arguments.h"

#include <QString>
#include <optional>

// The options of the scan and advise commands beside those they share with render:
//   --scenes N (both), --jobs J (scan), --ssim S (advise).
namespace ScanOptions {

enum class Reading { NotMine, Read, Refused };

// Reads one option into arguments; a refused value sets *problem.
Reading read(CliArguments &arguments, const QString &name, const QString &value, QString *problem);

// What a whole scan or advise command line lacks or has too much of; nothing when it is complete.
std::optional<QString> check(const CliArguments &arguments);

} // namespace ScanOptions
