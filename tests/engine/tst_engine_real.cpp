// The system's ffmpeg and ffprobe on films generated for the purpose: stream choice, the HDR,
// interlace and duration rules as the real probe reports them, bad input, awkward paths, and real
// renders whose frames are checked picture by picture.

#include "engine_test_helpers.h"
#include "preview_engine.h"
#include "test_films.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtTest>

#include <memory>

namespace {

QStringList lavfi(const QString &source)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), source};
}

QStringList x264(const QStringList &extra = {})
{
    return QStringList{QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                       QStringLiteral("ultrafast"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p")}
        + extra;
}

const QString kSmall = QStringLiteral("testsrc2=s=160x120:r=25:d=1");

QStringList transfer(int characteristics)
{
    return {QStringLiteral("-bsf:v"), QStringLiteral("h264_metadata=transfer_characteristics=%1").arg(characteristics)};
}

QStringList interlaced()
{
    return {QStringLiteral("-vf"), QStringLiteral("setfield=tff"), QStringLiteral("-flags"), QStringLiteral("+ilme+ildct")};
}

// Dense frames for 3 s, then one frame every 0.4 s up to 12.6 s. Matroska keeps the gaps and
// ffprobe still reports 25 fps, so a scene near the end asks for a frame the clip does not have.
QString sparseFilm()
{
    return TestFilms::film(QStringLiteral("sparse.mkv"),
                           lavfi(QStringLiteral("testsrc2=s=160x120:r=25:d=4"))
                               + QStringList{QStringLiteral("-vf"), QStringLiteral("setpts='if(lt(N,75),N/25,3+(N-75)*0.4)/TB'"),
                                             QStringLiteral("-fps_mode"), QStringLiteral("vfr")}
                               + x264());
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace

class EngineReal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void probeGeneratedFilms_data();
    void probeGeneratedFilms();
    void probeBadInput_data();
    void probeBadInput();
    void awkwardPaths();

    void renderShowsTheComparedFrame_data();
    void renderShowsTheComparedFrame();
    void bitrateChangeKeepsReferenceClip();
    void renderUsesTheFilmNotTheCover();
    void encodedFrameIsTheReferenceFrameDespiteGaps();
    void frameMissingFromClipIsNoStalePicture();

private:
    MovieInfo probe(const QString &path)
    {
        return resultOrWarn(engine_->probe(QUrl::fromLocalFile(path)));
    }
    QString work(const QString &name) const { return engine_->directory() + QLatin1Char('/') + name; }

    PrivateTempDir temp_; // the engine's work folder and the generated films live in here
    QTemporaryDir scratch_;
    std::unique_ptr<PreviewEngine> engine_;
};

void EngineReal::initTestCase()
{
    const QString tools = TestFilms::systemToolsDirectory();
    if (tools.isEmpty())
        QSKIP("no ffmpeg on this system");
    engine_ = std::make_unique<PreviewEngine>(tools);
}

void EngineReal::cleanupTestCase()
{
    engine_.reset();
}

void EngineReal::probeGeneratedFilms_data()
{
    QTest::addColumn<QString>("film");
    QTest::addColumn<QString>("expected"); // "W×H codec fps" or the failure

    const QString hdr = previewError(PreviewError::hdrNotSupported());
    QTest::newRow("H.264 with audio") << TestFilms::sampleFilm(320, 240, 25, 2) << "320×240 h264 25";
    QTest::newRow("cover picture before the film") << TestFilms::coverFirstFilm() << "160×120 h264 25";
    QTest::newRow("Matroska: duration from the format")
        << TestFilms::film(QStringLiteral("plain.mkv"), lavfi(kSmall) + x264()) << "160×120 h264 25";
    QTest::newRow("NTSC rate") << TestFilms::film(QStringLiteral("ntsc.mp4"),
                                                  lavfi(QStringLiteral("testsrc2=s=160x120:r=30000/1001:d=1")) + x264())
                               << "160×120 h264 29.97003";
    QTest::newRow("audio only") << TestFilms::film(QStringLiteral("audio-only.m4a"),
                                                   lavfi(QStringLiteral("sine=d=1")) + QStringList{"-c:a", "aac"})
                                << previewError(PreviewError::noVideoStream());
    QTest::newRow("PQ") << TestFilms::film(QStringLiteral("pq.mp4"), lavfi(kSmall) + x264(transfer(16))) << hdr;
    QTest::newRow("HLG") << TestFilms::film(QStringLiteral("hlg.mkv"), lavfi(kSmall) + x264(transfer(18))) << hdr;
    QTest::newRow("PQ in HEVC")
        << TestFilms::film(QStringLiteral("pq-hevc.mp4"),
                           lavfi(kSmall) + QStringList{"-c:v", "libx265", "-x265-params", "log-level=error",
                                                       "-color_trc", "smpte2084", "-pix_fmt", "yuv420p"})
        << hdr;
    QTest::newRow("PQ and interlaced: HDR first")
        << TestFilms::film(QStringLiteral("pq-interlaced.mp4"), lavfi(kSmall) + x264(transfer(16) + interlaced())) << hdr;
    QTest::newRow("interlaced fields")
        << TestFilms::film(QStringLiteral("interlaced.mp4"), lavfi(kSmall) + x264(interlaced()))
        << previewError(PreviewError::interlacedNotSupported());
}

void EngineReal::probeGeneratedFilms()
{
    QFETCH(QString, film);
    QFETCH(QString, expected);
    QVERIFY2(!film.isEmpty(), "the test film could not be made");
    QFuture<MovieInfo> future = engine_->probe(QUrl::fromLocalFile(film));
    const std::exception_ptr failure = failureOf(future);
    if (failure) {
        QCOMPARE(failureText(failure), expected);
        return;
    }
    const MovieInfo info = future.result();
    QCOMPARE(QStringLiteral("%1×%2 %3 %4").arg(info.width).arg(info.height).arg(info.codec).arg(info.fps, 0, 'g', 7),
             expected);
    QVERIFY(info.duration > 0.9 && info.duration < 2.2);
    QCOMPARE(info.url, QUrl::fromLocalFile(film));
}

void EngineReal::probeBadInput_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("contains"); // part of the tool's message
    const QString sample = TestFilms::sampleFilm(320, 240, 25, 2);
    QFile whole(sample);
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QTest::newRow("missing file") << scratch_.filePath(QStringLiteral("fehlt.mp4")) << "No such file or directory";
    QTest::newRow("empty file") << writeFile(scratch_.filePath(QStringLiteral("leer.mp4")), {}) << "Invalid data";
    QTest::newRow("garbage") << writeFile(scratch_.filePath(QStringLiteral("müll.mp4")), QByteArray(20000, '\x5a'))
                             << "Invalid data";
    QTest::newRow("cut off before its index")
        << writeFile(scratch_.filePath(QStringLiteral("halb.mp4")), bytes.left(bytes.size() / 2)) << "moov atom not found";
    QTest::newRow("text named .mp4") << writeFile(scratch_.filePath(QStringLiteral("notiz.mp4")), "Einkaufsliste\n")
                                     << "Invalid data";
    QTest::newRow("a folder") << scratch_.path() << "";
}

void EngineReal::probeBadInput()
{
    QFETCH(QString, path);
    QFETCH(QString, contains);
    QVERIFY(!path.isEmpty());
    const std::exception_ptr failure = failureOf(engine_->probe(QUrl::fromLocalFile(path)));
    QVERIFY2(holds<PreviewError>(failure), qPrintable(failureText(failure)));
    QVERIFY2(errorDescription(failure).contains(contains), qPrintable(errorDescription(failure)));
}

void EngineReal::awkwardPaths()
{
    // Spaces, umlauts, quotes, URL characters, a dollar sign, and names that look like an option,
    // standard input or a protocol.
    QVERIFY(QDir(scratch_.path()).mkpath(QStringLiteral("Mein Film – Ä ö ü ß")));
    const QString folder = scratch_.filePath(QStringLiteral("Mein Film – Ä ö ü ß"));
    const QString sample = TestFilms::sampleFilm(320, 240, 25, 2);
    const QStringList names{QStringLiteral("-Urlaub am Meer (2023) 'ä' $HOME.mp4"), QStringLiteral("http:film.mp4"),
                            QStringLiteral("-"), QStringLiteral("Film #1 100% ?.mp4")};
    for (const QString &name : names)
        QVERIFY(QFile::copy(sample, folder + QLatin1Char('/') + name));

    const MovieInfo absolute = probe(folder + QLatin1Char('/') + names[0]);
    QCOMPARE(absolute.width, qint64(320));
    QFuture<PreviewResult> rendered = engine_->render(absolute, 1, 2, 0);
    QCOMPARE(failureText(rendered), QStringLiteral("no failure"));
    QVERIFY(!QImage::fromData(rendered.result().encoded, "PNG").isNull());

    // Relative paths are read against the current folder, never as options or protocols.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder));
    QStringList outcomes;
    for (const QString &name : names) {
        QFuture<MovieInfo> future = engine_->probe(QUrl::fromLocalFile(name));
        outcomes << name + QStringLiteral(": ") + failureText(failureOf(future));
    }
    QVERIFY(QDir::setCurrent(previous));
    for (const QString &outcome : outcomes)
        QVERIFY2(outcome.endsWith(QLatin1String(": no failure")), qPrintable(outcome));
}

void EngineReal::renderShowsTheComparedFrame_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("maxHeight");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<int>("frameNumber"); // of the 4-second 25 fps numbered film
    QTest::newRow("near the end, clip moved back") << 3.7 << qint64(120) << qint64(120) << 92;
    QTest::newRow("start") << 0.0 << qint64(120) << qint64(120) << 0;
    QTest::newRow("end: last but one frame of the clip") << 4.0 << qint64(120) << qint64(120) << 98;
    QTest::newRow("limit above the source") << 2.5 << qint64(1080) << qint64(240) << 62;
}

void EngineReal::renderShowsTheComparedFrame()
{
    QFETCH(double, seconds);
    QFETCH(qint64, maxHeight);
    QFETCH(qint64, height);
    QFETCH(int, frameNumber);
    const MovieInfo info = probe(TestFilms::numberedFilm(426, 240, 25, 4.0));
    QFuture<PreviewResult> future = engine_->render(info, seconds, 1.0, maxHeight);
    QCOMPARE(failureText(future), QStringLiteral("no failure"));
    const PreviewResult result = future.result();

    QCOMPARE(result.height, height);
    QCOMPARE(result.width % 2, 0);
    QVERIFY(qAbs(result.width - 426 * height / 240) <= 1);
    QCOMPARE(result.sampleSeconds, 3.0);
    QCOMPARE(result.seconds, frameNumber / 25.0);
    QVERIFY(result.actualMbps > 0.01 && result.actualMbps < 5);
    for (const QByteArray &png : {result.original, result.encoded}) {
        const QImage image = QImage::fromData(png, "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(qint64(image.height()), result.height);
        QCOMPARE(qint64(image.width()), result.width);
    }
    QCOMPARE(TestFilms::frameNumberOf(result.original), frameNumber);
    QCOMPARE(TestFilms::frameNumberOf(result.encoded), frameNumber);
}

void EngineReal::bitrateChangeKeepsReferenceClip()
{
    const MovieInfo info = probe(TestFilms::numberedFilm(426, 240, 25, 4.0));
    const PreviewResult first = resultOrWarn(engine_->render(info, 3.7, 0.5, 120));
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
    for (const QString &name : {QStringLiteral("reference.mkv"), QStringLiteral("original.png")}) {
        QFile file(work(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const std::optional<QString> key = engine_->cachedKey();
    const PreviewResult second = resultOrWarn(engine_->render(info, 3.7, 8, 120));
    QCOMPARE(engine_->cachedKey(), key);
    QCOMPARE(QFileInfo(work(QStringLiteral("reference.mkv"))).lastModified(), old);
    QCOMPARE(QFileInfo(work(QStringLiteral("original.png"))).lastModified(), old);
    QCOMPARE(second.original, first.original);
    QCOMPARE(TestFilms::frameNumberOf(second.encoded), 92);
    QVERIFY(second.actualMbps > first.actualMbps);
}

void EngineReal::renderUsesTheFilmNotTheCover()
{
    const MovieInfo info = probe(TestFilms::coverFirstFilm());
    const PreviewResult result = resultOrWarn(engine_->render(info, 0.5, 2, 0));
    QCOMPARE(result.width, qint64(160)); // the cover is 64×64
    QCOMPARE(result.height, qint64(120));
    QCOMPARE(QImage::fromData(result.original, "PNG").size(), QSize(160, 120));
}

void EngineReal::encodedFrameIsTheReferenceFrameDespiteGaps()
{
    // Numbered frames, the first ten 40 ms apart, then a gap of 0.6 s: a variable frame rate as
    // phones record it. Whatever frame the clip yields, the encoded clip must show the same one.
    const QString film = TestFilms::film(
        QStringLiteral("numbered-gap.mp4"),
        lavfi(QStringLiteral("color=black:s=160x120:r=25:d=4"))
            + QStringList{"-vf", "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128,"
                                 "setpts='if(lt(N,10),N,N+15)/25/TB'",
                          "-fps_mode", "vfr", "-c:v", "libx264", "-qp", "0", "-pix_fmt", "yuv420p"});
    const MovieInfo info = probe(film);
    QCOMPARE(info.fps, 500.0 / 23.0); // the average rate, not the nominal 25
    const PreviewResult result = resultOrWarn(engine_->render(info, 0.8, 2, 0));
    const int original = TestFilms::frameNumberOf(result.original);
    QCOMPARE(original, 17); // frame index trunc(0.8 × 500/23) of a clip starting at 0
    QCOMPARE(TestFilms::frameNumberOf(result.encoded), original);
}

void EngineReal::frameMissingFromClipIsNoStalePicture()
{
    // A good render leaves original.png and encoded.png behind.
    const MovieInfo sparse = probe(sparseFilm());
    QCOMPARE(sparse.fps, 25.0);
    QCOMPARE(failureText(engine_->render(sparse, 1, 2, 0)), QStringLiteral("no failure"));
    QVERIFY(QFileInfo::exists(work(QStringLiteral("original.png"))));

    // ffmpeg finds no frame 73 in the last 3 s of the film, succeeds and writes nothing.
    QCOMPARE(failureText(engine_->render(sparse, sparse.duration, 2, 0)),
             previewError(PreviewError::frameNotExtracted()));
    QCOMPARE(engine_->cachedKey(), std::nullopt);
}

QTEST_GUILESS_MAIN(EngineReal)
#include "tst_engine_real.moc"
