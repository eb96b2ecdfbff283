#pragma once

#include "model/glance_model.h"

#include <QList>
#include <QSize>
#include <QUrl>
#include <memory>
#include <optional>

class QSettings;

// What the program keeps of its window between runs, in the user's settings (QSettings): the file
// dialog's last folder, the films opened last, the window's size, and the bitrate, height limit,
// view and encoder setting of the comparison. Each value is read defensively: one that is missing,
// of another type or out of range reads as none (and is said on standard error), a damaged file is
// forgotten. Films and folders are file URLs, which keep a name's bytes.
class UserSettings {
public:
    static constexpr int recentFilmCount = 10;

    // The program's own settings of the user.
    UserSettings();
    // Settings in the given file, for tests.
    explicit UserSettings(const QString &fileName);
    ~UserSettings();

    QUrl lastFolder() const; // empty: none
    void setLastFolder(const QUrl &folder);

    // The films opened last, the latest first, at most recentFilmCount.
    QList<QUrl> recentFilms() const;
    // Puts film first (once) and lets the oldest beyond the count go.
    void addRecentFilm(const QUrl &film);
    void clearRecentFilms();

    // The window's content size when it was last closed, and whether it was maximized.
    std::optional<QSize> windowSize() const;
    bool windowMaximized() const;
    void setWindowSize(QSize size, bool maximized);

    std::optional<double> mbps() const;      // within the bitrate slider's range
    std::optional<qint64> maxHeight() const; // one of the height limits offered
    std::optional<GlanceModel::ComparisonView> view() const;
    // A software encoder's setting with a preset and depth it offers. A graphics card's is not
    // kept: the card is tried anew at every start, and x265 is the setting that always works.
    std::optional<EncoderSetting> encoder() const;
    // Keeps the model's bitrate, height limit, view and encoder setting.
    void setComparison(const GlanceModel &model);

    // Writes what is pending to the file.
    void sync();

private:
    void checkFile();
    void storeRecentFilms(const QList<QUrl> &films) const;

    std::unique_ptr<QSettings> settings_;
};
