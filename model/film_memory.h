#pragma once

#include "model/film_scan_record.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The scan and finder results of the films last worked on, kept in a folder (the user's cache
// folder in the program) as one JSON file of numbers. A film is known by its path, size and
// modification time; the path is kept only as a hash. The file holds the most recently
// remembered films up to a limit and is replaced whole on each change, so that a crash never
// leaves half of it behind. A damaged or foreign file is forgotten, with a word on standard error.
class FilmMemory {
public:
    static constexpr int defaultCapacity = 100;

    explicit FilmMemory(QString folder, int capacity = defaultCapacity);

    // What was remembered for the film at path, if the file is still the one it was then; the
    // record of a file that has changed since is forgotten.
    std::optional<FilmScanRecord> recall(const QString &path);
    // Remembers state for the film at path as it is now, as the most recent film; an empty
    // state forgets the film. Failures to write are said on standard error.
    void remember(const QString &path, const FilmScanRecord &state);

    QString fileName() const;

private:
    QJsonObject load() const;
    void save(const QJsonObject &films) const;

    QString folder_;
    int capacity_;
};
