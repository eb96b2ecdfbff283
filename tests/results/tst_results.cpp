// What the engine keeps and gives beyond one comparison: the cache of rendered bitrates and its
// bounds, the quality measurement, saved clips and the comparison picture.
// Fake tools for the rules; the system's ffmpeg for the numbers and the picture.

#include "engine/comparison_texts.h"
#include "engine/internal/ffmpeg_commands.h"
#include "engine/quality_texts.h"
#include "support/engine_on_fake_tools.h"
#include "support/failure_text.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QDirIterator>
#include <QImage>
#include <QRegularExpression>
#include <QtTest>

class EngineResults : public QObject {
    Q_OBJECT

    std::unique_ptr<EngineOnFakeTools> f_;
    QString movie_; // with detail and motion
    std::unique_ptr<PreviewEngine> real_;
    double lowerSsim_ = 0; // of the previous, lower bitrate in the real measurement table

    QString temp(const QString &name) const { return f_->temp.dir.filePath(name); }
    MovieInfo movie() const { return EngineOnFakeTools::movieInfo(temp("film.mp4")); }
    // The tool calls since the last, as letters (FakeTools::callLetters), or ".".
    QString calls() const
    {
        const QString letters = f_->fake.callLetters();
        f_->fake.clearCalls();
        return letters.isEmpty() ? "." : letters;
    }

private slots:
    // The generated movie and the tools' links outlive the private temporary folder of each test.
    // One engine on the system's ffmpeg for the real tests, so that they share its cache.
    void initTestCase()
    {
        movie_ = TestMovies::sampleMovie(426, 240, 25, 4);
        if (!movie_.isEmpty() && !TestMovies::systemToolsDirectory().isEmpty())
            real_ = std::make_unique<PreviewEngine>(TestMovies::systemToolsDirectory());
    }
    void cleanupTestCase() { real_.reset(); }
    void init() { f_ = std::make_unique<EngineOnFakeTools>(), QFile(temp("film.mp4")).open(QIODevice::WriteOnly); }
    void cleanup() { f_.reset(); }

    // Steps: "r<seconds>/<mbps>[/<height limit>]" renders (720 lines by default), "m<i>" measures
    // the i-th result rendered, "w" writes the movie anew. Each step gives its tool calls, "*" after a render that came
    // with quality numbers, or "gone"; then the number of encoded clips left in the work folder.
    void cache_data()
    {
        // What the fake encoder writes, the steps, their outcomes and the encoded clips left.
        const auto row = table<qint64, QString, QString, int>("encodedBytes", "steps", "outcomes", "encodedClips");
        row("bitrate seen before", 0, "r50/2 r50/4 r50/2", "cpoemx emx .", 2);
        row("back to a scene: results kept, a new bitrate costs the cut", 0, "r50/2 r60/2 r50/2 r50/3",
            "cpoemx cpoemx . cemx", 3);
        row("scene time and height limit in the key", 0, "r50/2 r50/2/1080 r50.5/2 r50/2/1080",
            "cpoemx cpoemx cpoemx .", 3);
        row("a film written anew under its name is another film", 0, "r50/2 w r50/2", "cpoemx . cpoemx", 2);
        row("measured once, kept with the result", 0, "m0 r50/2 m0 m0 r50/4 r50/2 m2", "gone cpoemx q . emx .* .", 2);
        row("measuring an earlier scene cuts it again", 0, "r50/2 r60/2 m0 r50/2 r60/3", "cpoemx cpoemx cq .* cemx", 3);
        QString steps, expected = "cpoemx";
        for (int mbps = 1; mbps <= 17; ++mbps)
            steps += QString("r50/%1 ").arg(mbps), expected += mbps > 1 ? " emx" : "";
        row("16 results: the oldest goes", 0, steps + "r50/17 m0 r50/1 r50/3 r50/2", expected + " . gone emx . emx",
            16);
        row("400 MB: the longest unused goes", 150000000, "r50/1 r50/2 r50/1 r50/3 r50/1 r50/2",
            "cpoemx emx . emx . emx", 2);
    }
    void cache()
    {
        f_->fake.setPrelude("ffmpeg",
                            "case \"$LAST\" in *encoded.mp4) truncate -s "
                                + QString::number(fetched<qint64>("encodedBytes")) + " \"$LAST\"; exit 0 ;; esac");
        QList<PreviewResult> results;
        QStringList outcomes;
        for (const QString &step : fetched<QString>("steps").split(' ')) {
            const QStringList v = step.mid(1).split('/');
            QString failure;
            if (step == "w") {
                QFile movie(temp("film.mp4"));
                QVERIFY(movie.open(QIODevice::Append) && movie.write("x") == 1);
                outcomes << ".";
                continue;
            }
            if (step.startsWith('r')) {
                QFuture<PreviewResult> f =
                    f_->engine->render(movie(), {v[0].toDouble(), v[1].toDouble(), v.value(2, "720").toLongLong()});
                failure = failureText(f);
                results << (failure == "no failure" ? f.result() : PreviewResult());
            } else {
                failure = failureText(f_->engine->measure(results.value(v[0].toInt())));
            }
            outcomes << (failure == previewError(PreviewError::resultGone().message()) ? "gone"
                             : failure != "no failure"
                             ? failure
                             : calls() + (step.startsWith('r') && results.last().quality ? "*" : ""));
        }
        int encodedClips = 0;
        for (QDirIterator it(f_->engine->directory(), {"encoded.mp4"}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext(); it.next())
            ++encodedClips;
        QTEST(outcomes.join(' '), "outcomes");
        QTEST(encodedClips, "encodedClips");
    }

    // The measurement's command line, the numbers of the compared frame and of the clip, and the
    // texts made of them.
    void measurement()
    {
        const PreviewResult r = resultOrWarn(f_->engine->render(movie(), {50, 2, 720}));
        const QualityNumbers q = resultOrWarn(f_->engine->measure(r));
        const FakeTools::Call call = f_->fake.calls().constLast();
        QCOMPARE(call.args,
                 FfmpegCommands::quality(f_->engine->directory() + "/clip-1/2000000/encoded.mp4",
                                         f_->engine->directory() + "/reference.mkv", "ssim.log", "psnr.log"));
        QCOMPARE(qualityLine(q), "Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB");
        QCOMPARE(q.frames.size(), 200); // every frame's pair, in order
        QCOMPARE(q.frames.at(4), (FrameQuality{0.9005, 30.5}));
        QCOMPARE(q.worstFrame(), 0);
        QCOMPARE(comparisonCaption("Strand.mp4", resultOrWarn(f_->engine->render(movie(), {50, 2, 720}))).join('\n'),
                 "Strand.mp4\nVergleich bei 00:00:50\n1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s\n"
                 "Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB\n"
                 "Links: Original · rechts: HEVC-Vorschau");
        // A report without the numbers is a failure, not zeros.
        f_->fake.setPrelude("ffmpeg", "case \"$*\" in *stats_file=*) exit 0 ;; esac");
        QCOMPARE(failureText(f_->engine->measure(resultOrWarn(f_->engine->render(movie(), {50, 3, 720})))),
                 previewError(PreviewError::qualityNotMeasured().message()));
    }

    // A saved clip is its file in the work folder; a cancelled or impossible save writes nothing,
    // nor does a save to a link that another user planted, whatever it names.
    void saveClip()
    {
        using Kind = PreviewEngine::ClipKind;
        f_->fake.setPrelude("ffmpeg", R"(case "$LAST" in *.mkv|*.mp4) echo "$LAST" > "$LAST"; exit 0 ;; esac)");
        const PreviewResult first = resultOrWarn(f_->engine->render(movie(), {50, 2, 720}));
        CancelToken cancelled;
        cancelled.cancel();
        QStringList outcomes{failureText(f_->engine->saveClip(first, Kind::Encoded, temp("e.mp4"))),
                             failureText(f_->engine->saveClip(first, Kind::Reference, temp("r.mkv"))),
                             failureText(f_->engine->saveClip(first, Kind::Encoded, temp("x.mp4"), cancelled)),
                             failureText(f_->engine->saveClip(first, Kind::Encoded, temp("nicht/da.mp4"))).left(13)};
        QVERIFY(QFile::link(temp("Opfer"), temp("link.mp4")) && QFile::link(temp("Opfer"), temp("link.png")));
        outcomes << failureText(f_->engine->saveClip(first, Kind::Encoded, temp("link.mp4")))
                 << failureText(f_->engine->saveComparisonPicture(first, {"Bild"}, temp("link.png")));
        resultOrWarn(f_->engine->render(movie(), {60, 2, 720}));
        outcomes << failureText(f_->engine->saveClip(first, Kind::Reference, temp("r2.mkv")))
                 << failureText(f_->engine->saveClip(first, Kind::Encoded, temp("e2.mp4")));
        QCOMPARE(outcomes,
                 QStringList({"no failure", "no failure", "CancelledError",
                              "SystemError: ", previewError(PreviewError::linkRefused(temp("link.mp4")).message()),
                              previewError(PreviewError::linkRefused(temp("link.png")).message()),
                              previewError(PreviewError::resultGone().message()), "no failure"}));
        QVERIFY(!QFileInfo::exists(temp("Opfer")));
        for (const auto &[name, content] :
             {std::pair{"e.mp4", "/clip-1/2000000/encoded.mp4"}, {"r.mkv", "/reference.mkv"}}) {
            QFile saved(temp(name));
            QVERIFY(saved.open(QIODevice::ReadOnly) && saved.readAll().trimmed() == f_->engine->directory() + content);
        }
        QVERIFY(!QFileInfo::exists(temp("x.mp4")) && !QFileInfo::exists(temp("r2.mkv")));
    }

    // The system's ffmpeg: the numbers are ffmpeg's own for the two clips, and rise with the bitrate.
    void realQuality_data()
    {
        QTest::addColumn<double>("mbps");
        for (double mbps : {0.3, 1.0, 4.0})
            QTest::addRow("%g Mbit/s", mbps) << mbps;
    }
    void realQuality()
    {
        QFETCH(double, mbps);
        if (!real_)
            QSKIP("no ffmpeg on this system");
        PreviewEngine &engine = *real_;
        const MovieInfo m = resultOrWarn(engine.probe(QUrl::fromLocalFile(movie_)));
        const PreviewResult r = resultOrWarn(engine.render(m, {2, mbps, 0}));
        const QualityNumbers q = resultOrWarn(engine.measure(r));
        QCOMPARE(failureText(engine.saveClip(r, PreviewEngine::ClipKind::Reference, temp("r.mkv"))), "no failure");
        QCOMPARE(failureText(engine.saveClip(r, PreviewEngine::ClipKind::Encoded, temp("e.mp4"))), "no failure");
        QString log; // ffmpeg's own summaries and stats
        for (const QString name : {"ssim", "psnr"}) {
            QProcess ffmpeg;
            ffmpeg.setWorkingDirectory(f_->temp.dir.path());
            ffmpeg.start(
                "ffmpeg",
                {"-nostdin", "-i", "e.mp4", "-i", "r.mkv", "-lavfi", name + "=stats_file=" + name, "-f", "null", "-"});
            QFile stats(temp(name));
            QVERIFY(ffmpeg.waitForFinished(60000) && stats.open(QIODevice::ReadOnly));
            log += ffmpeg.readAllStandardError() + stats.readAll();
        }
        const auto own = [&](const QString &pattern) {
            return QRegularExpression(QString(pattern).replace("#", QString::number(r.frame + 1)))
                .match(log)
                .captured(1)
                .toDouble();
        };
        QCOMPARE(QString::asprintf("%.4f %.4f %.4f %.4f", q.ssimClip, q.psnrClip.value_or(-1), q.ssimFrame,
                                   q.psnrFrame.value_or(-1)),
                 QString::asprintf("%.4f %.4f %.4f %.4f", own(R"(SSIM .* All:(\S+))"), own(R"(PSNR .* average:(\S+))"),
                                   own(R"(\nn:# .* All:(\S+))"), own(R"(\nn:# .* psnr_avg:(\S+))")));
        qInfo("%g Mbit/s: clip SSIM %.4f, PSNR %.2f dB", mbps, q.ssimClip, q.psnrClip.value_or(-1));
        QVERIFY(q.ssimClip >= lowerSsim_ && q.ssimClip < 1);
        lowerSsim_ = q.ssimClip;
    }

    // Both frames side by side, turned upright, with the caption strip below.
    void realPicture()
    {
        if (!real_)
            QSKIP("no ffmpeg on this system");
        PreviewEngine &engine = *real_;
        MovieInfo turned = resultOrWarn(engine.probe(QUrl::fromLocalFile(movie_)));
        turned.rotation = 90;
        const PreviewResult r = resultOrWarn(engine.render(turned, {2, 1, 0}));
        QCOMPARE(failureText(engine.saveComparisonPicture(r, {"Zeile 1 ∞ 50 %{n}", "Zeile 2"}, temp("bild"))),
                 "no failure");
        const QImage picture(temp("bild"), "PNG"), original = QImage::fromData(r.original),
                                                   encoded = QImage::fromData(r.encoded);
        QVERIFY2(picture.width() == 2 * 240 && picture.height() > 426 + 50 && picture.height() < 426 + 200,
                 qPrintable(QString::asprintf("%d×%d", picture.width(), picture.height())));
        QCOMPARE(picture.pixel(0, 0), original.pixel(0, 239)); // the bottom left corner turned to the top
        QCOMPARE(picture.pixel(240, 425), encoded.pixel(425, 239));
        QCOMPARE(picture.pixel(479, picture.height() - 1), qRgb(255, 255, 255));
    }
};

QTEST_GUILESS_MAIN(EngineResults)
#include "tst_results.moc"
