#pragma once

#include "model/film_scan_record.h"

#include <QJsonObject>
#include <optional>

// A film's FilmScanRecord as JSON, numbers only, and back. Reading checks every value: a record with a
// missing, foreign or out-of-range value yields nothing rather than results nobody measured.
namespace ScanStateJson {

QJsonObject write(const FilmScanRecord &state);
std::optional<FilmScanRecord> read(const QJsonObject &json);

} // namespace ScanStateJson
