// The probe and the render with fake tools: the exact command lines, the clip window, the cache of
// the reference clip, stale frames and failures at every step.

#include "engine_test_helpers.h"
#include "fake_tools.h"
#include "preview_engine.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

const QString kFilm = QStringLiteral("/Filme/Urlaub 2023/Strand ä.mp4");

MovieInfo movie(double duration = 100, qint64 height = 1080, double fps = 25)
{
    MovieInfo info;
    info.url = QUrl::fromLocalFile(kFilm);
    info.duration = duration;
    info.width = height * 16 / 9;
    info.height = height;
    info.fps = fps;
    info.codec = QStringLiteral("h264");
    return info;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList toolsOf(const QList<FakeTools::Call> &calls)
{
    QStringList tools;
    for (const FakeTools::Call &call : calls)
        tools << call.tool + QLatin1Char(' ') + call.args.last().section(QLatin1Char('/'), -1);
    return tools;
}

const QStringList kFullSequence{QStringLiteral("ffmpeg reference.mkv"), QStringLiteral("ffprobe reference.mkv"),
                                QStringLiteral("ffmpeg original.png"), QStringLiteral("ffmpeg encoded.mp4"),
                                QStringLiteral("ffprobe encoded.mp4"), QStringLiteral("ffmpeg encoded.png")};
const QStringList kEncodeOnly = kFullSequence.mid(3);

} // namespace

class EngineRender : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void probeCommandLine();
    void probeMakesRelativePathsAbsolute();
    void probeRefusesNonFileUrls();
    void probeFailures_data();
    void probeFailures();

    void renderCommandLines();
    void renderWorkedExamples_data();
    void renderWorkedExamples();
    void bitrateBounds_data();
    void bitrateBounds();
    void sceneTimeMustBeFinite_data();
    void sceneTimeMustBeFinite();

    void bitrateChangeReusesReferenceClip();
    void otherSceneOrHeightCutsAgain();
    void failureAtEachStep_data();
    void failureAtEachStep();
    void vanishedCacheFilesAreMadeAgain();
    void cancellationKeepsOrEmptiesCache();
    void failedProbeLeavesCache();
    void encodedClipWithoutBitrate();

private:
    PreviewResult renderOk(double seconds, double mbps, qint64 maxHeight, const MovieInfo &info = movie());
    QString work(const QString &name) const { return engine_->directory() + QLatin1Char('/') + name; }
    QString key(const QString &seconds, qint64 maxHeight) const
    {
        return kFilm + QLatin1Char('|') + seconds + QLatin1Char('|') + QString::number(maxHeight);
    }

    std::unique_ptr<FakeTools> fake_;
    std::unique_ptr<PreviewEngine> engine_;
};

void EngineRender::init()
{
    fake_ = std::make_unique<FakeTools>();
    fake_->setReferenceSize(1280, 720);
    engine_ = std::make_unique<PreviewEngine>(fake_->directory());
}

void EngineRender::cleanup()
{
    engine_.reset();
    fake_.reset();
}

PreviewResult EngineRender::renderOk(double seconds, double mbps, qint64 maxHeight, const MovieInfo &info)
{
    QFuture<PreviewResult> future = engine_->render(info, seconds, mbps, maxHeight);
    const QString failure = failureText(future);
    if (failure != QLatin1String("no failure"))
        qWarning("render failed: %s", qPrintable(failure));
    return failure == QLatin1String("no failure") ? future.result() : PreviewResult();
}

void EngineRender::probeCommandLine()
{
    const MovieInfo info = engine_->probe(QUrl::fromLocalFile(kFilm)).result();
    const QList<FakeTools::Call> calls = fake_->calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].tool, QStringLiteral("ffprobe"));
    QCOMPARE(calls[0].args, (QStringList{"-v", "error", "-show_format", "-show_streams", "-of", "json", kFilm}));
    QCOMPARE(info.url, QUrl::fromLocalFile(kFilm));
    QCOMPARE(info.duration, 100.0);
    QCOMPARE(info.width, qint64(1920));
    QCOMPARE(info.height, qint64(1080));
    QCOMPARE(info.fps, 25.0);
    QCOMPARE(info.codec, QStringLiteral("h264"));
    QCOMPARE(info.bitrate, std::optional<double>(8520000));
    QCOMPARE(engine_->probeJSON(kFilm).result().value(QLatin1String("format")).toObject().value(QLatin1String("duration")),
             QJsonValue(QStringLiteral("100.000000")));
}

void EngineRender::probeMakesRelativePathsAbsolute()
{
    // A name starting with "-" would be an option to ffprobe if it went there as it is.
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    const QUrl relative = QUrl::fromLocalFile(QStringLiteral("-Film.mp4"));
    const QFuture<MovieInfo> probed = engine_->probe(relative);
    MovieInfo info = movie();
    info.url = relative;
    const QString rendered = failureText(engine_->render(info, 50, 2, 0));
    const QString absolute = QDir(folder.path()).absoluteFilePath(QStringLiteral("-Film.mp4"));
    const std::optional<QString> cacheKey = engine_->cachedKey();
    QVERIFY(QDir::setCurrent(previous));

    QCOMPARE(probed.result().url, relative);
    QCOMPARE(rendered, QStringLiteral("no failure"));
    QCOMPARE(fake_->calls()[0].args.last(), absolute);
    QCOMPARE(fake_->calls()[1].args[8], absolute);
    QCOMPARE(cacheKey, std::optional<QString>(absolute + QStringLiteral("|50.0|0")));
}

void EngineRender::probeRefusesNonFileUrls()
{
    const QString text = failureText(engine_->probe(QUrl(QStringLiteral("https://example.org/film.mp4"))));
    QVERIFY2(text.startsWith(QLatin1String("PlatformError: ")), qPrintable(text));
    QCOMPARE(failureText(engine_->probe(QUrl())).left(15), QStringLiteral("PlatformError: "));
    QVERIFY(fake_->calls().isEmpty());
}

void EngineRender::probeFailures_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected"); // a trailing "*" compares the beginning only
    QTest::newRow("ffprobe fails") << "echo 'Strand ä.mp4: No such file or directory' >&2; exit 1"
                                   << previewError(QStringLiteral("Strand ä.mp4: No such file or directory\n"));
    QTest::newRow("output not JSON") << "echo 'kein JSON'" << "PlatformError: *";
    QTest::newRow("no output at all") << ":" << "PlatformError: *";
    QTest::newRow("top level is a list") << "echo '[{\"streams\":[]}]'" << previewError(PreviewError::unreadableMovieData());
    QTest::newRow("rules apply") << "echo '{\"streams\":[{\"codec_type\":\"audio\"}]}'"
                                 << previewError(PreviewError::noVideoStream());
}

void EngineRender::probeFailures()
{
    QFETCH(QString, body);
    QFETCH(QString, expected);
    fake_->setBody(QStringLiteral("ffprobe"), body + QLatin1Char('\n'));
    const QString text = failureText(engine_->probe(QUrl::fromLocalFile(kFilm)));
    if (expected.endsWith(QLatin1Char('*')))
        QVERIFY2(text.startsWith(expected.chopped(1)), qPrintable(text));
    else
        QCOMPARE(text, expected);
}

void EngineRender::renderCommandLines()
{
    const PreviewResult result = renderOk(50, 2.0, 720);
    const QList<FakeTools::Call> calls = fake_->calls();
    QCOMPARE(toolsOf(calls), kFullSequence);
    QCOMPARE(calls[0].args, (QStringList{"-v", "error", "-nostdin", "-y", "-ss", "49.0", "-noautorotate", "-i", kFilm,
                                         "-t", "3.0", "-map", "0:V:0", "-an", "-sn", "-dn", "-vf",
                                         "scale=-2:min(ih\\,720),setsar=1,format=yuv420p", "-c:v", "ffv1", "-level", "3",
                                         work("reference.mkv")}));
    QCOMPARE(calls[0].args.size(), 23);
    QCOMPARE(calls[1].args, (QStringList{"-v", "error", "-show_format", "-show_streams", "-of", "json",
                                         work("reference.mkv")}));
    QCOMPARE(calls[2].args, (QStringList{"-v", "error", "-nostdin", "-y", "-i", work("reference.mkv"), "-vf",
                                         "select=eq(n\\,25)", "-frames:v", "1", work("original.png")}));
    QCOMPARE(calls[3].args, (QStringList{"-v", "error", "-nostdin", "-y", "-i", work("reference.mkv"), "-map", "0:v:0",
                                         "-an", "-fps_mode", "passthrough", "-c:v", "libx265", "-preset", "veryfast", "-x265-params",
                                         "log-level=error", "-b:v", "2000000", "-pix_fmt", "yuv420p", "-tag:v", "hvc1",
                                         work("encoded.mp4")}));
    QCOMPARE(calls[4].args, (QStringList{"-v", "error", "-show_format", "-show_streams", "-of", "json",
                                         work("encoded.mp4")}));
    QCOMPARE(calls[5].args, (QStringList{"-v", "error", "-nostdin", "-y", "-i", work("encoded.mp4"), "-vf",
                                         "select=eq(n\\,25)", "-frames:v", "1", work("encoded.png")}));

    QCOMPARE(result.original, readFile(fake_->directory() + QStringLiteral("/original-frame.png")));
    QCOMPARE(result.encoded, readFile(fake_->directory() + QStringLiteral("/encoded-frame.png")));
    QVERIFY(result.original != result.encoded);
    QCOMPARE(result.width, qint64(1280));
    QCOMPARE(result.height, qint64(720));
    QCOMPARE(result.actualMbps, 2.37);
    QCOMPARE(result.seconds, 50.0);
    QCOMPARE(result.sampleSeconds, 3.0);
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("50.0"), 720)));
}

void EngineRender::renderWorkedExamples_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("maxHeight");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("select");
    QTest::addColumn<double>("frameSeconds");
    QTest::addColumn<double>("sampleSeconds");

    const QString h720 = QStringLiteral("scale=-2:min(ih\\,720),setsar=1,format=yuv420p");
    const QString h1080 = QStringLiteral("scale=-2:min(ih\\,1080),setsar=1,format=yuv420p");
    const QString h2160 = QStringLiteral("scale=-2:min(ih\\,2160),setsar=1,format=yuv420p");
    QTest::newRow("frame 25") << 100.0 << qint64(1080) << 50.0 << qint64(720) << "49.0" << "3.0" << h720
                              << "select=eq(n\\,25)" << 50.0 << 3.0;
    QTest::newRow("frame 62") << 100.0 << qint64(1080) << 99.5 << qint64(0) << "97.0" << "3.0" << h1080
                              << "select=eq(n\\,62)" << 99.48 << 3.0;
    QTest::newRow("frame 73") << 100.0 << qint64(1080) << 100.0 << qint64(0) << "97.0" << "3.0" << h1080
                              << "select=eq(n\\,73)" << 99.92 << 3.0;
    QTest::newRow("scene at 0") << 100.0 << qint64(1080) << 0.0 << qint64(0) << "0.0" << "3.0" << h1080
                                << "select=eq(n\\,0)" << 0.0 << 3.0;
    QTest::newRow("fractional start") << 100.0 << qint64(1080) << 10.25 << qint64(0) << "9.25" << "3.0" << h1080
                                      << "select=eq(n\\,25)" << 10.25 << 3.0;
    QTest::newRow("2-second film") << 2.0 << qint64(1080) << 1.5 << qint64(0) << "0.0" << "2.0" << h1080
                                   << "select=eq(n\\,37)" << 1.48 << 2.0;
    QTest::newRow("2-second film, late scene") << 2.0 << qint64(1080) << 60.0 << qint64(0) << "0.0" << "2.0" << h1080
                                               << "select=eq(n\\,48)" << 1.92 << 2.0;
    QTest::newRow("0.05 s clip") << 0.05 << qint64(1080) << 0.02 << qint64(0) << "0.0" << "0.05" << h1080
                                 << "select=eq(n\\,0)" << 0.0 << 0.05;
    QTest::newRow("1080 limit, 720 lines") << 100.0 << qint64(720) << 50.0 << qint64(1080) << "49.0" << "3.0" << h720
                                           << "select=eq(n\\,25)" << 50.0 << 3.0;
    QTest::newRow("no limit, 2160 lines") << 100.0 << qint64(2160) << 50.0 << qint64(0) << "49.0" << "3.0" << h2160
                                          << "select=eq(n\\,25)" << 50.0 << 3.0;
}

void EngineRender::renderWorkedExamples()
{
    QFETCH(double, duration);
    QFETCH(qint64, height);
    QFETCH(double, seconds);
    QFETCH(qint64, maxHeight);
    QFETCH(QString, select);
    const PreviewResult result = renderOk(seconds, 2, maxHeight, movie(duration, height));
    const QList<FakeTools::Call> calls = fake_->calls();
    QCOMPARE(toolsOf(calls), kFullSequence);
    QTEST(calls[0].args[5], "start");
    QTEST(calls[0].args[10], "length");
    QTEST(calls[0].args[17], "filter");
    QCOMPARE(calls[2].args[7], select);
    QCOMPARE(calls[5].args[7], select);
    QTEST(result.seconds, "frameSeconds");
    QTEST(result.sampleSeconds, "sampleSeconds");
}

void EngineRender::bitrateBounds_data()
{
    QTest::addColumn<double>("mbps");
    QTest::addColumn<QString>("target"); // empty: refused
    QTest::newRow("upper bound") << 30.0 << "30000000";
    QTest::newRow("lower bound") << 0.3 << "300000";
    QTest::newRow("fraction of a bit dropped") << 29.9999999 << "29999999";
    QTest::newRow("2.5") << 2.5 << "2500000";
    QTest::newRow("above") << 30.01 << "";
    QTest::newRow("below") << 0.29 << "";
    QTest::newRow("negative") << -2.0 << "";
    QTest::newRow("not a number") << std::nan("") << "";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "";
}

void EngineRender::bitrateBounds()
{
    QFETCH(double, mbps);
    QFETCH(QString, target);
    QFuture<PreviewResult> future = engine_->render(movie(), 50, mbps, 0);
    if (target.isEmpty()) {
        QCOMPARE(failureText(future), previewError(PreviewError::invalidBitrate()));
        QVERIFY(fake_->calls().isEmpty());
    } else {
        QCOMPARE(failureText(future), QStringLiteral("no failure"));
        QCOMPARE(fake_->calls("ffmpeg")[2].args[18], target);
    }
}

void EngineRender::sceneTimeMustBeFinite_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("nan") << std::nan("");
    QTest::newRow("inf") << std::numeric_limits<double>::infinity();
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
}

void EngineRender::sceneTimeMustBeFinite()
{
    QFETCH(double, seconds);
    renderOk(50, 2, 0);
    fake_->clearCalls();
    QCOMPARE(failureText(engine_->render(movie(), seconds, 2, 0)), previewError(PreviewError::invalidSceneTime()));
    QVERIFY(fake_->calls().isEmpty());
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("50.0"), 0)));
}

void EngineRender::bitrateChangeReusesReferenceClip()
{
    const PreviewResult first = renderOk(50, 2.0, 720);
    // Mark the cached files: a rewrite would change their time and content.
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
    QFile reference(work(QStringLiteral("reference.mkv")));
    QVERIFY(reference.open(QIODevice::WriteOnly));
    reference.write("REFERENCE");
    reference.close();
    for (const QString &name : {QStringLiteral("reference.mkv"), QStringLiteral("original.png")}) {
        QFile file(work(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    fake_->clearCalls();

    const PreviewResult second = renderOk(50, 4.0, 720);
    const QList<FakeTools::Call> calls = fake_->calls();
    QCOMPARE(toolsOf(calls), kEncodeOnly);
    QCOMPARE(calls[0].args[18], QStringLiteral("4000000"));
    QCOMPARE(calls[2].args[7], QStringLiteral("select=eq(n\\,25)"));
    QCOMPARE(readFile(work(QStringLiteral("reference.mkv"))), QByteArray("REFERENCE"));
    QCOMPARE(QFileInfo(work(QStringLiteral("reference.mkv"))).lastModified(), old);
    QCOMPARE(QFileInfo(work(QStringLiteral("original.png"))).lastModified(), old);
    QCOMPARE(second.original, first.original);
    QCOMPARE(second.width, first.width);
    QCOMPARE(second.height, first.height);
    QCOMPARE(second.seconds, first.seconds);
    QCOMPARE(second.sampleSeconds, first.sampleSeconds);
}

void EngineRender::otherSceneOrHeightCutsAgain()
{
    renderOk(50, 2, 720);
    fake_->clearCalls();
    renderOk(51, 2, 720);
    QCOMPARE(toolsOf(fake_->calls()), kFullSequence);
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("51.0"), 720)));
    fake_->clearCalls();
    renderOk(51, 2, 1080);
    QCOMPARE(toolsOf(fake_->calls()), kFullSequence);
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("51.0"), 1080)));
    fake_->clearCalls();
    renderOk(51.000000000000007, 2, 1080); // the next double: another scene
    QCOMPARE(toolsOf(fake_->calls()), kFullSequence);
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("51.00000000000001"), 1080)));
}

void EngineRender::failureAtEachStep_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("prelude");
    QTest::addColumn<QString>("expected"); // a trailing "*" compares the beginning only
    QTest::addColumn<bool>("cacheKept");
    QTest::addColumn<bool>("reusedAfter"); // the next render with sound tools starts at the encode

    QTest::newRow("8: cut fails") << "ffmpeg" << "case \"$LAST\" in *reference.mkv) echo 'Schnitt kaputt' >&2; exit 1;; esac"
                                  << previewError(QStringLiteral("Schnitt kaputt\n")) << false << false;
    QTest::newRow("9: probe of the clip fails") << "ffprobe" << "case \"$LAST\" in *reference.mkv) exit 1;; esac"
                                                << previewError(QString()) << false << false;
    QTest::newRow("9: clip probe not JSON") << "ffprobe" << "case \"$LAST\" in *reference.mkv) echo '{'; exit 0;; esac"
                                            << "PlatformError: *" << false << false;
    QTest::newRow("9: clip without width")
        << "ffprobe" << "case \"$LAST\" in *reference.mkv) echo '{\"streams\":[{\"height\":720}]}'; exit 0;; esac"
        << previewError(PreviewError::referenceNotCreated()) << false << false;
    QTest::newRow("9: clip without streams")
        << "ffprobe" << "case \"$LAST\" in *reference.mkv) echo '{\"streams\":[]}'; exit 0;; esac"
        << previewError(PreviewError::referenceNotCreated()) << false << false;
    QTest::newRow("9: clip width is text")
        << "ffprobe" << "case \"$LAST\" in *reference.mkv) echo '{\"streams\":[{\"width\":\"1280\",\"height\":720}]}'; exit 0;; esac"
        << previewError(PreviewError::referenceNotCreated()) << false << false;
    QTest::newRow("10: extraction fails") << "ffmpeg" << "case \"$LAST\" in *original.png) echo nein >&2; exit 1;; esac"
                                          << previewError(QStringLiteral("nein\n")) << false << false;
    // ffmpeg's way with a frame index past the clip: success, and no file. The older
    // original.png of the first render must not pass for the new one.
    QTest::newRow("10: stale original frame") << "ffmpeg" << "case \"$LAST\" in *original.png) exit 0;; esac"
                                              << previewError(PreviewError::frameNotExtracted()) << false << false;
    QTest::newRow("12: encode fails") << "ffmpeg" << "case \"$LAST\" in *encoded.mp4) echo 'x265 kaputt' >&2; exit 1;; esac"
                                      << previewError(QStringLiteral("x265 kaputt\n")) << true << true;
    QTest::newRow("13: probe of the encoded clip fails") << "ffprobe" << "case \"$LAST\" in *encoded.mp4) exit 2;; esac"
                                                         << previewError(QString()) << true << true;
    QTest::newRow("14: extraction fails") << "ffmpeg" << "case \"$LAST\" in *encoded.png) echo nein >&2; exit 1;; esac"
                                          << previewError(QStringLiteral("nein\n")) << true << true;
    QTest::newRow("14: stale encoded frame") << "ffmpeg" << "case \"$LAST\" in *encoded.png) exit 0;; esac"
                                             << previewError(PreviewError::frameNotExtracted()) << true << true;
    QTest::newRow("15: original frame unreadable") << "ffmpeg" << "case \"$LAST\" in *encoded.png) rm \"${LAST%/*}/original.png\";; esac"
                                                   << "PlatformError: *" << true << false;
}

void EngineRender::failureAtEachStep()
{
    QFETCH(QString, tool);
    QFETCH(QString, prelude);
    QFETCH(QString, expected);
    QFETCH(bool, cacheKept);
    QFETCH(bool, reusedAfter);

    renderOk(50, 2, 720);
    fake_->setPrelude(tool, prelude);
    fake_->clearCalls();
    // A failure of the cut shows with a new scene; one after the cut with a new bitrate alone.
    const double seconds = cacheKept ? 50 : 60;
    const QString text = failureText(engine_->render(movie(), seconds, 3, 720));
    if (expected.endsWith(QLatin1Char('*')))
        QVERIFY2(text.startsWith(expected.chopped(1)), qPrintable(text));
    else
        QCOMPARE(text, expected);

    if (cacheKept) {
        QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("50.0"), 720)));
        QCOMPARE(toolsOf(fake_->calls()).first(), QStringLiteral("ffmpeg encoded.mp4"));
    } else {
        QCOMPARE(engine_->cachedKey(), std::nullopt);
    }

    // With sound tools again, the same render starts at the encode when the cache was kept (and its
    // files are still there) and cuts afresh otherwise.
    fake_->setPrelude(tool, QString());
    fake_->clearCalls();
    QCOMPARE(failureText(engine_->render(movie(), seconds, 3, 720)), QStringLiteral("no failure"));
    QCOMPARE(toolsOf(fake_->calls()), reusedAfter ? kEncodeOnly : kFullSequence);
}

void EngineRender::vanishedCacheFilesAreMadeAgain()
{
    for (const QString &name : {QStringLiteral("reference.mkv"), QStringLiteral("original.png")}) {
        renderOk(50, 2, 720);
        QVERIFY(QFile::remove(work(name)));
        fake_->clearCalls();
        renderOk(50, 3, 720);
        QCOMPARE(toolsOf(fake_->calls()), kFullSequence);
    }
}

void EngineRender::cancellationKeepsOrEmptiesCache()
{
    renderOk(50, 2, 720);

    // Cancelled while the cut runs: the cut ends on its own, the rest does not run, no cache.
    // The tool waits until the test has cancelled.
    const QString waitForGo = QStringLiteral("while [ ! -e \"$DIR/go\" ]; do sleep 0.02; done");
    const QString go = fake_->directory() + QStringLiteral("/go");
    fake_->setPrelude(QStringLiteral("ffmpeg"), QStringLiteral("case \"$LAST\" in *reference.mkv) %1;; esac").arg(waitForGo));
    fake_->clearCalls();
    CancelToken cut;
    QFuture<PreviewResult> cutting = engine_->render(movie(), 60, 2, 720, cut);
    QTRY_COMPARE(fake_->calls().size(), 1);
    cut.cancel();
    QVERIFY(QFile(go).open(QIODevice::WriteOnly));
    QCOMPARE(failureText(cutting), QStringLiteral("CancelledError"));
    QCOMPARE(toolsOf(fake_->calls()), kFullSequence.mid(0, 1));
    QCOMPARE(engine_->cachedKey(), std::nullopt);

    // Cancelled while the encode runs: the reference clip stays.
    renderOk(50, 2, 720);
    QVERIFY(QFile::remove(go));
    fake_->setPrelude(QStringLiteral("ffmpeg"), QStringLiteral("case \"$LAST\" in *encoded.mp4) %1;; esac").arg(waitForGo));
    fake_->clearCalls();
    CancelToken encode;
    QFuture<PreviewResult> encoding = engine_->render(movie(), 50, 5, 720, encode);
    QTRY_COMPARE(fake_->calls().size(), 1);
    encode.cancel();
    QVERIFY(QFile(go).open(QIODevice::WriteOnly));
    QCOMPARE(failureText(encoding), QStringLiteral("CancelledError"));
    QCOMPARE(toolsOf(fake_->calls()), kEncodeOnly.mid(0, 1));
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("50.0"), 720)));
}

void EngineRender::failedProbeLeavesCache()
{
    renderOk(50, 2, 720);
    fake_->setBody(QStringLiteral("ffprobe"), QStringLiteral("exit 1\n"));
    QCOMPARE(failureText(engine_->probe(QUrl::fromLocalFile(QStringLiteral("/anderer/Film.mkv")))), previewError(QString()));
    QCOMPARE(engine_->cachedKey(), std::optional<QString>(key(QStringLiteral("50.0"), 720)));
}

void EngineRender::encodedClipWithoutBitrate()
{
    fake_->setEncodedBitrate(QString());
    const PreviewResult result = renderOk(50, 2, 720);
    QCOMPARE(result.actualMbps, 0.0);
    QCOMPARE(result.width, qint64(1280));
    fake_->setPrelude(QStringLiteral("ffprobe"),
                      QStringLiteral("case \"$LAST\" in *encoded.mp4) echo '{\"streams\":[{\"bit_rate\":2000000}]}'; exit 0;; esac"));
    QCOMPARE(renderOk(50, 3, 720).actualMbps, 0.0); // a JSON number is not the text ffprobe prints
}

QTEST_GUILESS_MAIN(EngineRender)
#include "tst_engine_render.moc"
