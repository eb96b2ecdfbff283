#pragma once

#include "cli/cli_arguments.h"
#include "engine/cancel_token.h"

class PreviewEngine;

// bitglance-cli scan and advise. Each prints its JSON lines as the work goes on and throws as the
// render command does: a failure's exception, JsonOutput::OutputClosed when standard output's
// reader has gone.
namespace ScanCommands {

// One line per scene as it finishes, then a summary line. Runs the scenes on `engine` and, for
// --jobs J, on J - 1 engines more (never more engines than scenes).
void scan(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token);
// One line with the bitrate found, the bitrates tried, the scenes checked at the bitrate found and
// the search's rounds; a PreviewError with the German sentence when even the highest bitrate falls
// short.
void advise(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token);

} // namespace ScanCommands
