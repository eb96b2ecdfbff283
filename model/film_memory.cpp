#include "model/film_memory.h"

#include "model/scan_state_json.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int formatVersion = 1;

QString filmKey(const QString &path)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(QFileInfo(path).absoluteFilePath()), QCryptographicHash::Sha256)
            .toHex());
}

// The file as it is now: its size and modification time in milliseconds; nothing for a file that
// cannot be read.
std::optional<std::pair<qint64, qint64>> fileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return std::pair(info.size(), info.lastModified().toMSecsSinceEpoch());
}

} // namespace

FilmMemory::FilmMemory(QString folder, int capacity) : folder_(std::move(folder)), capacity_(std::max(capacity, 1))
{}

QString FilmMemory::fileName() const
{
    return QDir(folder_).filePath(QStringLiteral("scan-results.json"));
}

QJsonObject FilmMemory::load() const
{
    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {}; // nothing remembered yet
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject() || root[u"version"_s] != formatVersion
        || !root[u"films"_s].isObject()) {
        qWarning("bitglance: the remembered scan results in %s are damaged or of another version and are forgotten",
                 qUtf8Printable(fileName()));
        file.remove();
        return {};
    }
    return root[u"films"_s].toObject();
}

void FilmMemory::save(const QJsonObject &films) const
{
    QSaveFile file(fileName());
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{u"version"_s, formatVersion}, {u"films"_s, films}}).toJson(QJsonDocument::Compact);
    if (!QDir().mkpath(folder_) || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
        || !file.commit())
        qWarning("bitglance: the scan results could not be remembered in %s: %s", qUtf8Printable(fileName()),
                 qUtf8Printable(file.errorString()));
}

std::optional<FilmScanRecord> FilmMemory::recall(const QString &path)
{
    QJsonObject films = load();
    const QString key = filmKey(path);
    const QJsonObject film = films[key].toObject();
    if (film.isEmpty())
        return std::nullopt;
    const auto stamp = fileStamp(path);
    const bool same = stamp && film[u"size"_s] == double(stamp->first) && film[u"modified"_s] == double(stamp->second);
    std::optional<FilmScanRecord> state = same ? ScanStateJson::read(film[u"state"_s].toObject()) : std::nullopt;
    if (!state) {
        if (same)
            qWarning("bitglance: the remembered scan results of %s are damaged and are forgotten",
                     qUtf8Printable(path));
        films.remove(key);
        save(films);
    }
    return state;
}

void FilmMemory::remember(const QString &path, const FilmScanRecord &state)
{
    QJsonObject films = load();
    const QString key = filmKey(path);
    const auto stamp = fileStamp(path);
    if (state.empty() || !stamp) {
        if (films.contains(key)) {
            films.remove(key);
            save(films);
        }
        return;
    }
    // The most recent film has the highest number; the oldest go beyond the limit.
    qint64 last = 0;
    for (const QJsonValue &film : std::as_const(films))
        last = std::max(last, film.toObject()[u"used"_s].toInteger());
    films[key] = QJsonObject{{u"size"_s, double(stamp->first)},
                             {u"modified"_s, double(stamp->second)},
                             {u"used"_s, last + 1},
                             {u"state"_s, ScanStateJson::write(state)}};
    while (films.size() > capacity_) {
        QString oldest;
        qint64 oldestUse = 0;
        for (auto film = films.constBegin(); film != films.constEnd(); ++film) {
            const qint64 used = film.value().toObject()[u"used"_s].toInteger();
            if (oldest.isEmpty() || used < oldestUse)
                oldest = film.key(), oldestUse = used;
        }
        films.remove(oldest);
    }
    save(films);
}
