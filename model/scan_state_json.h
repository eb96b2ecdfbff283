#pragma once

#include "model/scan_state.h"

#include <QJsonObject>
#include <optional>

// A film's ScanState as JSON, numbers only, and back. Reading checks every value: a record with a
// missing, foreign or out-of-range value yields nothing rather than results nobody measured.
namespace ScanStateJson {

QJsonObject write(const ScanState &state);
std::optional<ScanState> read(const QJsonObject &json);

} // namespace ScanStateJson
