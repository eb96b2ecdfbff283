#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/encoder_setting.h"
#include "engine/internal/reference_clip.h"
#include "engine/internal/work_folder.h"
#include "engine/quality_numbers.h"

#include <QHash>
#include <QString>
#include <optional>

// The results of the bitrates rendered, kept in the work folder, so that returning to a movie,
// scene time, height limit and bitrate seen before runs no tool at all. Per reference clip (its
// clip key) it keeps the clip's facts and its compared frame; per clip and bitrate (the entry key)
// the encoded clip, its frame, the measured bitrate and, once measured, the quality numbers.
//
// Bounded: at most maxResults results and at most maxBytes of files in the work folder. The
// results used longest ago go first; a clip's frame goes with its last result. The result just
// added and the reference clip in use are never dropped, so one clip of a 4K movie may exceed the
// bytes on its own. The reference clip itself ("reference.mkv") exists once, for the clip cut last.
//
// Files: "clip-<n>/original.png"; "clip-<n>/<bits per second>[-<setting>]/encoded.mp4" and
// "encoded.png".
// Used on the engine's worker thread only.
class EncodeCache {
public:
    static constexpr int maxResults = 16;
    static constexpr qint64 maxBytes = 400'000'000;

    struct Entry {
        QString clipKey;
        qint64 bitsPerSecond = 0;
        EncoderSetting encoder;
        double actualMbps = 0;
        std::optional<QualityNumbers> quality;
        qint64 bytes = 0;    // of its two files
        quint64 lastUse = 0; // a tick of the cache's clock
    };

    explicit EncodeCache(const WorkFolder &folder);

    // "<clip key>|<bits per second>" for the default encoder setting, "<clip key>|<bits per
    // second>-<encoder>-<preset>-<depth>[-<card API>]" for another ("|800000-x265-slow-10"); the
    // part after "|" names the entry's folder.
    static QString entryKey(const QString &clipKey, qint64 bitsPerSecond, const EncoderSetting &encoder = {});
    // The clip key of an entry key.
    static QString clipKeyOf(const QString &entryKey);

    // The entry when it and its clip's frame are still in the folder, marked as used now; an entry
    // whose files went is forgotten.
    const Entry *find(const QString &key);
    // The entry as it was kept, without looking at its files.
    const Entry *entry(const QString &key) const;
    const ReferenceClip *clip(const QString &clipKey) const;
    // True when "reference.mkv" is the clip with this key and is still there.
    bool holdsReference(const QString &clipKey) const;

    // Where a cut puts the clip's compared frame: the clip's folder, made now for a new clip.
    // From here until clipCut() "reference.mkv" belongs to no clip.
    QString startCut(const QString &clipKey);
    // The cut of clip.key succeeded: "reference.mkv" and the frame are its own.
    void clipCut(const ReferenceClip &clip);
    // The cut of clipKey failed: a clip without results is forgotten with its folder.
    void cutFailed(const QString &clipKey);

    // Makes the folder of a new entry of a clip that holds "reference.mkv"; returns encodedClip().
    QString startEncode(const QString &key);
    // The files of an entry.
    QString encodedClip(const QString &key) const;
    QString encodedFrame(const QString &key) const;
    QString originalFrame(const QString &clipKey) const;

    // Keeps a new result whose files exist, then drops the oldest until the bounds hold.
    void add(const QString &key, Entry entry);
    // An entry that failed half way is forgotten with its files.
    void remove(const QString &key);
    void setQuality(const QString &key, const QualityNumbers &quality);

    int size() const { return int(entries_.size()); }
    qint64 bytes() const; // the files the cache counts, "reference.mkv" included

private:
    QString clipFolder(const QString &clipKey) const;
    QString entryFolder(const QString &key) const;
    void dropClipIfUnused(const QString &clipKey);
    void trim(const QString &kept);

    const WorkFolder &folder_;
    QHash<QString, ReferenceClip> clips_;
    QHash<QString, QString> clipFolders_; // clip key -> "clip-<n>", also while a cut runs
    QHash<QString, Entry> entries_;
    QString referenceKey_; // the clip "reference.mkv" holds; empty while none or a cut runs
    int nextFolder_ = 1;
    quint64 clock_ = 0;
};
