#pragma once

#include "cli/cli_arguments.h"

#include <QString>
#include <optional>

// The encoder options of render, scan and advise:
//   --encoder x265|x264|svtav1|hevc-hw, --preset P, --depth 8|10
// and render's --print-command.
namespace EncoderOptions {

enum class Reading { NotMine, Read, Refused };

// Reads one option into arguments; a refused value sets *problem.
Reading read(CliArguments &arguments, const QString &name, const QString &value, QString *problem);

// Settles the setting once every option is read: the encoder's default preset where none was
// given; a preset the encoder does not take is refused, naming what it takes.
std::optional<QString> settle(CliArguments &arguments);

} // namespace EncoderOptions
