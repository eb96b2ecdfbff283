// The system's ffmpeg and ffprobe on generated movies and on the camera and phone footage in
// ../shared/media: what the probe reports, renders checked frame by frame on numbered movies, and
// movies and names that are hard to read. The temporary folder's name holds "%".

#include "engine/film_command.h"
#include "engine/movie_path.h"
#include "engine/preview_engine.h"
#include "support/failure_text.h"
#include "support/private_temp_dir.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class EngineReal : public QObject {
    Q_OBJECT

    PrivateTempDir temp_; // the work folder and the generated movies
    std::unique_ptr<PreviewEngine> engine_;
    int home_ = -1, deep_ = -1; // the current folder, and one whose path is longer than the system allows

    static QString media(const char *name) { return TestMovies::mediaDirectory() + '/' + name; }

private slots:
    void initTestCase()
    {
        // ffmpeg's image writer reads "%d" in a file name as a pattern.
        QVERIFY(QDir(temp_.dir.path()).mkdir("Prozent %d %x"));
        qputenv("TMPDIR", QFile::encodeName(temp_.dir.filePath("Prozent %d %x")));
        if (TestMovies::systemToolsDirectory().isEmpty())
            QSKIP("no ffmpeg on this system");
        engine_ = std::make_unique<PreviewEngine>(TestMovies::systemToolsDirectory());
        home_ = ::open(".", O_RDONLY | O_DIRECTORY);
        QVERIFY(QDir::setCurrent(temp_.dir.path()) && ::mkdir("tief", 0700) == 0 && ::chdir("tief") == 0);
        for (int i = 0; i < 25; ++i) // 5,000 bytes: getcwd gives a path no one can open, or fails
            QVERIFY(::mkdir(QByteArray(200, 'd'), 0700) == 0 && ::chdir(QByteArray(200, 'd')) == 0);
        const QByteArray sample = QFile::encodeName(TestMovies::sampleMovie(160, 120, 25, 2));
        for (const char *name : {"-x.mp4", "http:x.mp4", "\xfe\xff.mp4"})
            QVERIFY(::symlink(sample, name) == 0);
        deep_ = ::open(".", O_RDONLY | O_DIRECTORY);
        QVERIFY(::fchdir(home_) == 0);
    }
    void cleanupTestCase()
    {
        engine_.reset();
        ::close(home_), ::close(deep_);
        QCOMPARE(QProcess::execute("rm", {"-rf", temp_.dir.filePath("tief")}), 0); // too deep for QDir
    }

    void probe_data()
    {
        const auto row = table<QString, QString>("movie", "expected"); // "W×H codec fps" or the failure
        row("interlaced",
            TestMovies::movie(
                "interlaced.mp4",
                {"-f", "lavfi", "-i", "testsrc2=s=160x120:d=1", "-vf", "setfield=tff", "-flags", "+ilme+ildct"}),
            previewError(PreviewError::interlacedNotSupported().message()));
        // The real footage: "W×H codec fps", HDR or no video.
        const QString hdr = previewError(PreviewError::hdrNotSupported().message());
        QMap<QString, QString> footage{{"bear_vp9.webm", "320×240 vp9 29.97"},
                                       {"car_12p5fps.mp4", "768×432 h264 12.5"},
                                       {"cover_art_audio.m4a", previewError(PreviewError::noVideoStream().message())},
                                       {"emulator_720p_h264.mp4", "1280×720 h264 29.97"},
                                       {"gopro_karma.mp4", "854×480 h264 29.97"},
                                       {"pixel_motionphoto_vfr.mp4", "1024×768 hevc 27.61"},
                                       {"portrait_4k60_rot.mp4", "3840×2160 h264 60.06"},
                                       {"roadtrip_vp9_10bit.webm", "426×240 vp9 23.98"},
                                       {"slowmo_android_vfr.mp4", "1280×720 h264 13.32"},
                                       {"sowt_pcm_1080p50.mov", "1920×1080 h264 50"}};
        for (const char *file : {"dv_p9_h264_1080p60.mp4", "hdr10_av1_mdcv.mp4", "hdr10_av1_portrait.mp4",
                                 "hdr10_hevc_1080p.mp4", "iphone_dv84_hlg_rot.mp4", "iphone_dv84_short.mov"})
            footage[file] = hdr;
        const QDir folder(TestMovies::mediaDirectory());
        for (const QString &file :
             TestMovies::mediaDirectory().isEmpty() ? QStringList() : folder.entryList(QDir::Files))
            if (file != "README.md")
                row(file, folder.filePath(file), footage.value(file, "a new file: expect it here"));
    }
    void probe()
    {
        QFETCH(QString, movie);
        QVERIFY2(!movie.isEmpty(), "the test film could not be made");
        QFuture<MovieInfo> future = engine_->probe(QUrl::fromLocalFile(movie));
        const MovieInfo m = failureText(future) == "no failure" ? future.result() : MovieInfo();
        QVERIFY(m.width == 0 || (m.url == QUrl::fromLocalFile(movie) && m.duration > 0 && m.duration < 60));
        QTEST(m.width ? QString::asprintf("%lld×%lld %s %.4g", m.width, m.height, qPrintable(m.codec), m.fps)
                      : failureText(future),
              "expected");
    }

    // "W×H" of a render of the scene at 1.5 Mbit/s, or the first line of its failure; a probe fails
    // alike or not at all. Relative names are opened in the deep folder.
    void movies_data()
    {
        const auto row = table<QByteArray, double, qint64, QString>("movie", "seconds", "maxHeight", "expected");
        // x265 takes an even height only.
        const QByteArray odd = QFile::encodeName(TestMovies::movie(
            "odd.mkv", {"-f", "lavfi", "-i", "testsrc=s=1001x563:r=10:d=0.3", "-pix_fmt", "yuv444p", "-c:v", "ffv1"}));
        for (const qint64 maxHeight : {0, 720, 1080})
            row(QString("1001×563, height limit %1").arg(maxHeight), odd, 0.1, maxHeight, "1000×562");
        const QString noFrames = previewError(PreviewError::noFramesRead().message()), dir = temp_.dir.path();
        row("still picture",
            QFile::encodeName(TestMovies::movie("still.jpg", {"-f", "lavfi", "-i", "testsrc2", "-frames:v", "1"})), 0,
            0, noFrames);
        QFile whole(TestMovies::movie("whole.mp4",
                                      {"-f", "lavfi", "-i", "testsrc2=s=160x120:d=10", "-preset", "ultrafast",
                                       "-pix_fmt", "yuv420p", "-movflags", "+faststart"}));
        QFile cut(dir + "/abgebrochen.mp4");
        QVERIFY(whole.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly) && cut.write(whole.read(60000)));
        row("scene past the data", QFile::encodeName(cut.fileName()), 8, 0, noFrames);
        // No index, keyframes 5 s apart: the fast seek lands where the decoder cannot start.
        row("MPEG-TS, sparse keyframes",
            QFile::encodeName(TestMovies::movie("gop5.ts",
                                                {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-t", "12",
                                                 "-c:v", "libx264", "-g", "125", "-pix_fmt", "yuv420p"})),
            3, 0, "320×240");
        QVERIFY(::mkfifo(QFile::encodeName(dir + "/fifo.mp4"), 0600) == 0 && QDir(dir).mkdir("Ordner.mp4"));
        for (const QString &path : {dir + "/fifo.mp4", dir + "/Ordner.mp4", QString("/dev/null")})
            row(path.section('/', -1), QFile::encodeName(path), 1, 0,
                previewError(PreviewError::notAMovie(path.section('/', -1)).message()));
        const QByteArray notUtf8 = QFile::encodeName(dir) + "/tief/\xff\xfe.mp4"; // QDir cannot remove it
        QVERIFY(::symlink(QFile::encodeName(TestMovies::sampleMovie(160, 120, 25, 2)), notUtf8) == 0);
        row("name not UTF-8", notUtf8, 1, 0, "160×120");
        for (const char *name : {"-x.mp4", "http:x.mp4", "\xfe\xff.mp4"})
            row(QString("relative ") + QString::fromLatin1(name), name, 1, 0, "160×120");
    }
    void movies()
    {
        QFETCH(QByteArray, movie);
        QVERIFY2(!movie.isEmpty(), "the test film could not be made");
        QVERIFY(::fchdir(movie.startsWith('/') ? home_ : deep_) == 0);
        const QUrl url = movieUrl(movie);
        QFuture<MovieInfo> probed = engine_->probe(url);
        const QString probeFailure = failureText(probed);
        MovieInfo m = probeFailure == "no failure" ? probed.result() : MovieInfo();
        m.url = url;
        QFuture<PreviewResult> rendered =
            engine_->render(m, {fetched<double>("seconds"), 1.5, fetched<qint64>("maxHeight")});
        const QString failure = failureText(rendered);
        QVERIFY(::fchdir(home_) == 0);
        QVERIFY2(url.path().startsWith('/') == movie.startsWith('/') && !failure.contains(" @ 0x"),
                 qPrintable(failure));
        QVERIFY2(probeFailure == "no failure" || probeFailure == failure, qPrintable(probeFailure)); // refused alike
        const PreviewResult r = failure == "no failure" ? rendered.result() : PreviewResult();
        QTEST(r.width ? QString("%1×%2").arg(r.width).arg(r.height) : failure.section('\n', 0, 0), "expected");
    }

    void render_data()
    {
        // The scene rendered at 1.5 Mbit/s; the frame of the numbered movie (-1: not numbered).
        const auto row =
            table<QString, double, qint64, qint64, int>("movie", "seconds", "maxHeight", "height", "frame");
        const QString numbered = TestMovies::numberedMovie(426, 240, 25, 4.0);
        row("near the end, clip moved back", numbered, 3.7, 120, 120, 92);
        row("start", numbered, 0, 120, 120, 0);
        row("end: last but one frame of the clip", numbered, 4, 120, 120, 98);
        row("limit above the source", numbered, 2.5, 1080, 240, 62);
        // Numbered frames, the first ten 40 ms apart, then a gap of 0.6 s, as phones record: the average
        // rate 500/23, not the nominal 25, finds frame 17, and the encoded clip shows the same one.
        row("frame gaps",
            TestMovies::movie(
                "numbered-gap.mp4",
                {"-f", "lavfi", "-i", "color=black:s=160x120:r=25:d=4", "-vf",
                 "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128,setpts='if(lt(N,10),N,N+15)/25/TB'",
                 "-fps_mode", "vfr", "-c:v", "libx264", "-qp", "0"}),
            0.8, 0, 120, 17);
        // No index, a keyframe 1 s into the clip: the fast seek starts the clip there, late.
        row("MPEG-TS, keyframe inside the clip",
            TestMovies::movie("numbered-gop2.ts",
                              {"-f", "lavfi", "-i", "color=black:s=160x120:r=25:d=4", "-vf",
                               "format=yuv420p,geq=lum='16+2*mod(N\\,100)':cb=128:cr=128", "-c:v", "libx264", "-qp",
                               "0", "-g", "50"}),
            2.5, 0, 120, 62);
        if (TestMovies::mediaDirectory().isEmpty())
            return;
        row("VP9, whole clip", media("bear_vp9.webm"), 1.5, 0, 240, -1);
        row("10-bit VP9, hidden frames", media("roadtrip_vp9_10bit.webm"), 2, 720, 240, -1);
        row("frame gaps, scene at the end", media("slowmo_android_vfr.mp4"), 0.53, 720, 720, -1);
        row("1080p50 limited to 720", media("sowt_pcm_1080p50.mov"), 1, 720, 720, -1);
        row("4K portrait stored landscape", media("portrait_4k60_rot.mp4"), 1, 720, 720, -1);
    }
    void render()
    {
        QFETCH(QString, movie);
        QVERIFY2(!movie.isEmpty(), "the test film could not be made");
        const MovieInfo m = resultOrWarn(engine_->probe(QUrl::fromLocalFile(movie)));
        const PreviewResult r =
            resultOrWarn(engine_->render(m, {fetched<double>("seconds"), 1.5, fetched<qint64>("maxHeight")}));
        QVERIFY(r.width % 2 == 0 && qAbs(r.width - m.width * r.height / m.height) <= 1);
        QVERIFY(r.sampleSeconds == std::min(m.duration, 3.0) && r.seconds <= m.duration && r.actualMbps > 0.01);
        for (const QByteArray &png : {r.original, r.encoded})
            QCOMPARE(QImage::fromData(png, "PNG").size(), QSize(int(r.width), int(r.height)));
        const int frame = TestMovies::frameNumberOf(r.original);
        QTEST(r.height, "height");
        QTEST(frame < 0 || !movie.contains("numbered") ? -1 : frame, "frame");
        if (movie.contains("numbered")) {
            QCOMPARE(TestMovies::frameNumberOf(r.encoded), frame);
            QCOMPARE(r.seconds, frame / m.fps);
        }
    }

    // Every frame of a clip: another frame's pictures and the playback clips show frame n of both
    // clips, with that frame's values; the worst frame of a flat clip is its one burst of noise.
    void everyFrame()
    {
        const auto firstOf = [](const PreviewResult &r, const MovieInfo &m) {
            return std::llround(r.seconds * m.fps) - r.frame; // the movie's frame where the clip starts
        };
        const MovieInfo m =
            resultOrWarn(engine_->probe(QUrl::fromLocalFile(TestMovies::numberedMovie(160, 120, 25, 4))));
        const PreviewResult r = resultOrWarn(engine_->render(m, {2.0, 1.5, 0}));
        const QualityNumbers q = resultOrWarn(engine_->measure(r));
        QCOMPARE(q.frames.size(), r.frameCount);
        const PlaybackClips clips = resultOrWarn(engine_->playbackClips(r));
        for (const qint64 n : {qint64(0), r.frame + 7, r.frameCount - 1}) {
            const PreviewResult at = resultOrWarn(engine_->atFrame(r, n));
            const int number = int((firstOf(r, m) + n) % 100);
            QCOMPARE(TestMovies::frameNumberOf(at.original), number);
            QCOMPARE(TestMovies::frameNumberOf(at.encoded), number);
            QCOMPARE(at.seconds, double(firstOf(r, m) + n) / m.fps);
            QCOMPARE(at.quality->ssimFrame, q.frames.at(n).ssim);
            for (const QString &clip : {clips.reference, clips.encoded}) {
                QProcess ffmpeg;
                ffmpeg.start(TestMovies::systemToolsDirectory() + "/ffmpeg",
                             {"-v", "error", "-i", clip, "-vf", QString("select=eq(n\\,%1)").arg(n), "-frames:v", "1",
                              "-c:v", "png", "-f", "image2pipe", "-"});
                QVERIFY(ffmpeg.waitForFinished());
                QCOMPARE(TestMovies::frameNumberOf(ffmpeg.readAllStandardOutput()), number);
            }
        }
        QCOMPARE(failureText(engine_->atFrame(r, r.frameCount)),
                 previewError("Vergleichsbild konnte nicht entnommen werden."));

        const MovieInfo flat = resultOrWarn(engine_->probe(QUrl::fromLocalFile(TestMovies::movie(
            "flash.mp4",
            {"-f", "lavfi", "-i", "color=gray:s=160x120:r=25:d=4", "-vf",
             "format=yuv420p,noise=alls=90:allf=t:enable='eq(n\\,55)'", "-c:v", "libx264", "-qp", "0"}))));
        const PreviewResult burst = resultOrWarn(engine_->render(flat, {2.0, 1.5, 0}));
        QCOMPARE(firstOf(burst, flat) + *resultOrWarn(engine_->measure(burst)).worstFrame(), 55);
    }

    // On a banding-prone gradient x265 slow at 10 bit beats veryfast at 8 bit at the same bitrate,
    // each a result of its own; the 10-bit clip is shown and played as 8-bit pictures. The command
    // for the whole film, run as printed on a name a shell would trip over, encodes it as asked.
    void encoderSettings()
    {
        const MovieInfo sky = resultOrWarn(engine_->probe(QUrl::fromLocalFile(TestMovies::movie(
            "sky.mkv",
            {"-f", "lavfi", "-i", "gradients=s=1920x1080:d=4:r=10:speed=0.03:c0=0x102040:c1=0x80a0d0:nb_colors=2", "-f",
             "lavfi", "-i", "testsrc2=s=960x540:d=4:r=10", "-filter_complex",
             "[0:v][1:v]overlay=x='100+t*200':y=200,format=yuv420p", "-c:v", "libx264", "-crf", "4", "-preset",
             "ultrafast"}))));
        const PreviewResult fast = resultOrWarn(engine_->render(sky, {2.0, 1.0, 0}));
        const PreviewResult slow = resultOrWarn(engine_->render(sky, {2.0, 1.0, 0, {VideoEncoder::X265, "slow", 10}}));
        QVERIFY(slow.cacheKey != fast.cacheKey && slow.encoder.depth == 10);
        const double fastSsim = resultOrWarn(engine_->measure(fast)).ssimClip;
        const double slowSsim = resultOrWarn(engine_->measure(slow)).ssimClip;
        QVERIFY2(slowSsim > fastSsim, qPrintable(QString("%1 <= %2").arg(slowSsim).arg(fastSsim)));
        QCOMPARE(QImage::fromData(slow.encoded).depth(), 32);
        QVERIFY(QFileInfo(resultOrWarn(engine_->playbackClips(slow)).encoded).size() > 0);

        const MovieInfo odd = resultOrWarn(engine_->probe(QUrl::fromLocalFile(
            TestMovies::movie("Mein Film's Äpfel -1.mkv",
                              {"-f", "lavfi", "-i", "testsrc2=s=640x360:r=25:d=4", "-f", "lavfi", "-i", "sine=d=4",
                               "-vf", "noise=alls=8:allf=t", "-c:v", "libx264", "-crf", "10", "-c:a", "aac"}))));
        const ComparisonSettings asked{2.0, 0.5, 0, {VideoEncoder::X265, "fast", 8}};
        QProcess shell;
        shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        shell.start("sh", {"-c", FilmCommand::shellText(odd, asked)});
        QVERIFY(shell.waitForFinished(300000) && shell.exitCode() == 0);
        const QString output = FilmCommand::outputPath(odd, asked);
        QProcess probe;
        probe.start(TestMovies::systemToolsDirectory() + "/ffprobe",
                    {"-v", "error", "-show_entries", "stream=codec_name,height", "-show_entries", "packet=size",
                     "-select_streams", "v:0", "-of", "json", output});
        QVERIFY(probe.waitForFinished());
        const QJsonObject made = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
        QCOMPARE(made["streams"][0]["codec_name"].toString(), "hevc");
        QCOMPARE(made["streams"][0]["height"].toInt(), 360);
        double bytes = 0;
        for (const QJsonValue packet : made["packets"].toArray())
            bytes += packet["size"].toString().toDouble();
        const double mbps = bytes * 8 / odd.duration / 1e6;
        QVERIFY2(std::abs(mbps - 0.5) < 0.15, qPrintable(QString::number(mbps)));
        QProcess audio;
        audio.start(
            TestMovies::systemToolsDirectory() + "/ffprobe",
            {"-v", "error", "-select_streams", "a", "-show_entries", "stream=codec_name", "-of", "csv=p=0", output});
        QVERIFY(audio.waitForFinished());
        QCOMPARE(audio.readAllStandardOutput().trimmed(), "aac");
    }
};

QTEST_GUILESS_MAIN(EngineReal)
#include "tst_real_movies.moc"
