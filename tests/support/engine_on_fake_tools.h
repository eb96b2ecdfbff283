#pragma once

#include "engine/preview_engine.h"
#include "support/fake_tools.h"
#include "support/private_temp_dir.h"

#include <QDir>
#include <QFile>

#include <memory>

// An engine on fake tools with a private TMPDIR, made anew for each test, and what its tests share.
struct EngineOnFakeTools {
    static inline const QString ok = QStringLiteral("no failure"), cancelled = QStringLiteral("CancelledError");
    // A tool body that never ends on its own; its process id goes to $DIR/pid.
    static inline const QString hang = QStringLiteral(R"(echo $$ > "$DIR/pid"; exec sleep 600)");

    PrivateTempDir temp;
    FakeTools fake;
    std::unique_ptr<PreviewEngine> engine = std::make_unique<PreviewEngine>(fake.directory());

    // A movie as the probe reads it; by default 100 s of 1920 × 1080 at 25 fps, as the fake ffprobe reports it.
    static MovieInfo movieInfo(const QString &path, double duration = 100, double fps = 25, qint64 height = 1080)
    {
        MovieInfo m;
        m.url = QUrl::fromLocalFile(path), m.duration = duration, m.fps = fps, m.width = 1920, m.height = height;
        return m;
    }
    QString fakeFile(const QString &name) const { return fake.directory() + u'/' + name; }
    // A movie file with a space and an umlaut in its folder and its name, made once: probe and render
    // refuse anything but a regular file.
    static QString movie()
    {
        static const QTemporaryDir movies;
        static const QString path = movies.path() + QStringLiteral("/Urlaub 2023/Strand ä.mp4");
        if (!QFile::exists(path)
            && !(QDir().mkpath(movies.path() + "/Urlaub 2023") && QFile(path).open(QIODevice::WriteOnly)))
            qFatal("cannot make %s", qPrintable(path));
        return path;
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
    }
    // After the engine went: no engine alive, no work folder left in TMPDIR.
    static bool nothingLeft()
    {
        return PreviewEngine::liveCount() == 0
            && QDir(QDir::tempPath()).entryList({"Bitglance-*"}, QDir::Dirs).isEmpty();
    }
};
