// What a window remembers between runs, without widgets: each film's scan and finder results in the
// cache folder, shown again at once when the same file is opened and forgotten when it changed or
// the store is damaged; and the user's settings, read defensively.
#include "engine/encoder_catalogue.h"
#include "engine/preview_engine.h"
#include "model/film_memory.h"
#include "model/scan_memory.h"
#include "model/scan_model.h"
#include "model/user_settings.h"
#include "support/fake_scene_quality.h"
#include "support/model_window.h"
#include "support/text_table.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// A model with its scan model, as the window has them, remembering in films.
struct ScanningWindow : ModelWindow {
    ScanModel scans{model.get()};
    ScanMemory memory;
    ScanningWindow(FilmMemory *films) : memory(model.get(), &scans, films)
    {
        tools.setPrelude(u"ffmpeg"_s, fakeSceneQuality(40, 60));
    }
    bool runsEnded() const
    {
        return QTest::qWaitFor([this] { return !scans.running(); }, 60000) && idle();
    }
};

class Memory : public QObject {
    Q_OBJECT

private slots:
    // One window scans a film and runs the finder; the store it leaves is what the rows start from.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        films_ = std::make_unique<FilmMemory>(cache_.path());
        film_ = cache_.filePath(u"film.mp4"_s);
        QFile(film_).open(QIODevice::WriteOnly);
        ScanningWindow first(films_.get());
        QVERIFY(first.open(film_));
        first.scans.findBitrate(0.95, 4); // sets the bitrate it found ...
        QVERIFY(first.runsEnded() && first.scans.finderResult());
        first.scans.scan(4); // ... at which the scan runs
        QVERIFY(first.runsEnded() && first.scans.scenes().size() == 4);
        scenes_ = first.scans.scenes();
        found_ = *first.scans.finderResult();
        mbps_ = first->mbps();
        filmTime_ = QFileInfo(film_).lastModified();
        QFile store(films_->fileName());
        QVERIFY(store.open(QIODevice::ReadOnly));
        store_ = store.readAll();
    }
    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(PreviewEngine::liveCount(), 0, 20000); }

    void reopenedFilmShowsItsResults_data()
    {
        // What happens to the film or the store between the two windows, whether the second shows
        // the results, and what standard error says.
        const auto row = table<QString, bool, QString>("change", "shown", "warning");
        row("the same file", "", true, "");
        row("the file grew", "grow", false, "");
        row("the file was modified", "touch", false, "");
        row("the store is no JSON", "garble", false, "are damaged or of another version");
        row("the store is of another version", "version", false, "are damaged or of another version");
        row("a value out of range", "range", false, "are damaged and are forgotten");
        // Results stay with the settings they were made at, whatever the window's are now.
        row("another height limit", "height", true, "");
        row("another encoder", "encoder", true, "");
    }

    void reopenedFilmShowsItsResults()
    {
        QFETCH(QString, change);
        QFETCH(bool, shown);
        QFETCH(QString, warning);
        // The film as the first window left it, and the store with what it remembered.
        QFile film(film_);
        QVERIFY(film.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(film.setFileTime(filmTime_, QFileDevice::FileModificationTime));
        if (change == u"grow")
            QVERIFY(film.write("x") == 1);
        film.close();
        if (change == u"touch")
            QVERIFY(film.open(QIODevice::ReadWrite)
                    && film.setFileTime(filmTime_.addSecs(60), QFileDevice::FileModificationTime));
        film.close();
        QByteArray json = store_;
        if (change == u"garble")
            json.chop(json.size() / 2);
        else if (change == u"version")
            json.replace("\"version\":1", "\"version\":7");
        else if (change == u"range")
            json.replace("\"ssimClip\":", "\"ssimClip\":7");
        QFile store(films_->fileName());
        QVERIFY(store.open(QIODevice::WriteOnly) && store.write(json) == json.size());
        store.close();
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));

        ScanningWindow second(films_.get());
        second->setMbps(mbps_); // as the window's settings bring it back
        if (change == u"height")
            second->setMaxHeight(720);
        if (change == u"encoder")
            second->setEncoder(EncoderCatalogue::defaultSetting(VideoEncoder::X264));
        // Shown as soon as the film is there, before any tool has rendered a scene.
        QList<SceneResult> scenesOnOpening;
        std::optional<FinderResult> foundOnOpening;
        QObject::connect(second.model.get(), &GlanceModel::movieChanged, &second.scans, [&] {
            scenesOnOpening = second.scans.scenes();
            foundOnOpening = second.scans.finderResult();
            QCOMPARE(second.ffmpegCalls(), 0);
        });
        QVERIFY(second.open(film_));
        QCOMPARE(scenesOnOpening, shown ? scenes_ : QList<SceneResult>());
        QCOMPARE(foundOnOpening, shown ? std::optional(found_) : std::nullopt);
        // A forgotten film is gone from the store (a damaged store with it).
        QCOMPARE(films_->recall(film_).has_value(), shown || change == u"height" || change == u"encoder");
    }

    void keepsTheLatestFilms()
    {
        QTemporaryDir cache;
        FilmMemory films(cache.path(), 2);
        FilmScanRecord state;
        EncoderSetting av1 = EncoderCatalogue::defaultSetting(VideoEncoder::SvtAv1);
        av1.depth = 10;
        state.scan =
            FilmScanRecord::Scan{2, 0, av1, {SceneResult{10, 3, 2.1, {0.95, 0.94, 40.0, std::nullopt, {}}, 9}}};
        QStringList paths;
        for (const char *name : {"a.mp4", "b.mp4", "c.mp4"}) {
            paths << cache.filePath(QLatin1String(name));
            QFile(paths.constLast()).open(QIODevice::WriteOnly);
        }
        films.remember(paths[0], state);
        films.remember(paths[1], state);
        QVERIFY(films.recall(paths[0])); // used again, but remembering is what counts
        films.remember(paths[2], state);
        QCOMPARE(films.recall(paths[0]).has_value(), false);
        QCOMPARE(films.recall(paths[1]), state);
        QCOMPARE(films.recall(paths[2]), state);
        films.remember(paths[2], FilmScanRecord()); // nothing to remember: forgotten
        QCOMPARE(films.recall(paths[2]).has_value(), false);
        QVERIFY(!QFile::exists(films.fileName() + u".tmp"_s));
    }

    void settingsAreReadDefensively_data()
    {
        // A settings file as another version or a damaged disk may leave it, and what is read.
        const auto row = table<QString, QString, QString>("file", "read", "warning");
        row("nothing stored", "", "none none none none none", "");
        row("all valid",
            "[comparison]\nmbps=7.5\nmaxHeight=720\nview=Split\nencoder=svtav1/6/10\n[window]\nsize=@Size(1200 800)\n",
            "7.5 720 2 1200x800 svtav1/6/10", "");
        row("a preset the encoder lacks", "[comparison]\nencoder=svtav1/slow/8\n", "none none none none none",
            "comparison/encoder");
        row("a graphics card", "[comparison]\nencoder=hevc-hw//8\n", "none none none none none", "comparison/encoder");
        row("bitrate beyond the slider", "[comparison]\nmbps=55\n", "none none none none none", "comparison/mbps");
        row("bitrate no number", "[comparison]\nmbps=viel\n", "none none none none none", "comparison/mbps");
        row("a height not offered", "[comparison]\nmaxHeight=721\n", "none none none none none",
            "comparison/maxHeight");
        row("an unknown view", "[comparison]\nview=Mosaic\n", "none none none none none", "comparison/view");
        row("a window of no size", "[window]\nsize=@Size(0 800)\n", "none none none none none", "window/size");
        row("lines that are no settings", "\x01\x02[[[=\n]]]\nmbps\n=\n", "none none none none none", "");
    }

    void settingsAreReadDefensively()
    {
        QFETCH(QString, file);
        QFETCH(QString, read);
        QFETCH(QString, warning);
        QTemporaryDir folder;
        const QString name = folder.filePath(u"bitglance.conf"_s);
        QFile stored(name);
        QVERIFY(stored.open(QIODevice::WriteOnly));
        stored.write(file.toLatin1());
        stored.close();
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
        UserSettings settings(name);
        const auto text = [](const auto &value) { return value ? QVariant(*value).toString() : u"none"_s; };
        const std::optional<QSize> size = settings.windowSize();
        QCOMPARE(QStringList({text(settings.mbps()), text(settings.maxHeight()),
                              text(settings.view() ? std::optional(int(*settings.view())) : std::nullopt),
                              size ? u"%1x%2"_s.arg(size->width()).arg(size->height()) : u"none"_s,
                              settings.encoder() ? u"%1/%2/%3"_s
                                                       .arg(EncoderCatalogue::cliName(settings.encoder()->encoder),
                                                            settings.encoder()->preset)
                                                       .arg(settings.encoder()->depth)
                                                 : u"none"_s})
                     .join(u' '),
                 read);
        // What was not valid is gone: read again, there is nothing to say.
        settings.sync();
        QTest::failOnWarning(QRegularExpression(u"."_s));
        const UserSettings again(name);
        QVERIFY(again.mbps() == settings.mbps() && again.maxHeight() == settings.maxHeight()
                && again.view() == settings.view() && again.windowSize() == size
                && again.encoder() == settings.encoder());
    }

    void recentFilmsKeepTheLatestTen()
    {
        QTemporaryDir folder;
        UserSettings settings(folder.filePath(u"bitglance.conf"_s));
        QList<QUrl> films;
        for (int i = 1; i <= 12; ++i)
            films.prepend(QUrl::fromLocalFile(u"/filme/%1.mp4"_s.arg(i)));
        for (auto film = films.crbegin(); film != films.crend(); ++film)
            settings.addRecentFilm(*film);
        settings.addRecentFilm(films[4]); // again: first, once
        QList<QUrl> expected = films.first(10);
        expected.move(4, 0);
        QCOMPARE(settings.recentFilms(), expected);
        // A name that is not UTF-8 comes back as its bytes.
        const QUrl raw = QUrl::fromEncoded("file:///filme/caf%E9.mp4");
        settings.addRecentFilm(raw);
        settings.sync();
        QCOMPARE(UserSettings(folder.filePath(u"bitglance.conf"_s)).recentFilms().constFirst().toEncoded(),
                 raw.toEncoded());
    }

private:
    QTemporaryDir cache_;
    std::unique_ptr<FilmMemory> films_;
    QString film_;
    QDateTime filmTime_;
    QByteArray store_;
    QList<SceneResult> scenes_;
    FinderResult found_;
    double mbps_ = 0;
};

QTEST_MAIN(Memory)
#include "tst_memory.moc"
