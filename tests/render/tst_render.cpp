// A probe and a render on fake tools that record their calls: the calls in order, what a render
// keeps for the next, how each step fails or is cancelled, and the progress it reports.

#include "engine/internal/ffmpeg_commands.h"
#include "support/engine_on_fake_tools.h"
#include "support/failure_text.h"
#include "support/text_table.h"

#include <QtTest>

#include <csignal>

using namespace FfmpegCommands;

using Fixture = EngineOnFakeTools;
const QString kMovie = Fixture::movie(), kOk = Fixture::ok, kCancelled = Fixture::cancelled, kHang = Fixture::hang;

class RenderTests : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f_;

    QString work(const QString &name) const { return f_->engine->directory() + '/' + name; }

private slots:
    void init()
    {
        f_ = std::make_unique<Fixture>();
        f_->fake.setReferenceSize(1280, 720);
    }
    void cleanup()
    {
        f_->engine.reset();
        QVERIFY(Fixture::nothingLeft());
        f_.reset();
    }

    // A probe and a render, each call as FfmpegCommands builds it from the clip plan.
    void probeAndRender()
    {
        const MovieInfo probed = resultOrWarn(f_->engine->probe(QUrl::fromLocalFile(kMovie)));
        const PreviewResult r = resultOrWarn(f_->engine->render(probed, {50, 2, 720}));
        const QString reference = work("reference.mkv"), encoded = work("clip-1/2000000/encoded.mp4");
        const QList<QStringList> expected{
            QStringList{"ffprobe"} + probe(kMovie),
            QStringList{"ffmpeg"} + referenceCut(kMovie, ClipPlan::compute(probed, 50, 720), reference),
            QStringList{"ffprobe"} + probe(reference),
            QStringList{"ffmpeg"} + frameExtraction(reference, 25, "clip-1/original.png"),
            QStringList{"ffmpeg"} + encode(reference, encoded, 2000000),
            QStringList{"ffprobe"} + probe(encoded),
            QStringList{"ffmpeg"} + frameExtraction(encoded, 25, "clip-1/2000000/encoded.png")};
        QList<QStringList> calls;
        for (const FakeTools::Call &call : f_->fake.calls())
            calls << QStringList{call.tool} + call.args;
        QCOMPARE(calls, expected);
        QCOMPARE(r.original + r.encoded,
                 Fixture::read(f_->fakeFile("original-frame.png")) + Fixture::read(f_->fakeFile("encoded-frame.png")));
        QCOMPARE(QString::asprintf("%s %s %lld×%lld %g Mbit/s, %g s of %g s", qPrintable(probed.url.toLocalFile()),
                                   qPrintable(probed.codec), r.width, r.height, r.actualMbps, r.seconds,
                                   r.sampleSeconds),
                 kMovie + " h264 1280×720 2.37 Mbit/s, 50 s of 3 s");
    }

    void render_data();
    void render()
    {
        QFETCH(ComparisonSettings, settings);
        QFETCH(QString, tool);
        QFETCH(QString, file);
        QFETCH(QString, shell);
        QCOMPARE(failureText(f_->engine->render(Fixture::movieInfo(kMovie), {50, 2, 720})), kOk);
        if (!tool.isEmpty())
            f_->fake.setPrelude(tool, "case \"$LAST\" in *" + file + ") " + shell + ";; esac");
        f_->fake.clearCalls();
        CancelToken token;
        QFuture<PreviewResult> future = f_->engine->render(Fixture::movieInfo(kMovie), settings, token);
        if (shell.contains(kHang)) { // cancelled while the tool runs: killed and reaped at once
            QTRY_VERIFY(Fixture::read(f_->fakeFile("pid")).endsWith('\n'));
            token.cancel();
            QTRY_VERIFY_WITH_TIMEOUT(future.isFinished(), 60000);
            QVERIFY(::kill(Fixture::read(f_->fakeFile("pid")).trimmed().toInt(), 0) == -1 && errno == ESRCH);
        }
        QTEST(failureText(future), "failure");
        const bool made = failureText(future) == kOk; // the encode's target, and the bitrate measured
        QTEST(made ? f_->fake.calls().value(f_->fake.calls().size() - 3).args.value(20).toLongLong() : 0, "target");
        QTEST(made ? future.result().actualMbps : 0, "measured");
        const QString calls = f_->fake.callLetters();
        QTEST(calls, "calls");
        if (!tool.isEmpty())
            f_->fake.setPrelude(tool, "");
        f_->fake.clearCalls();
        // The next render at a bitrate not seen before, which the result cache cannot answer.
        ComparisonSettings next = calls.isEmpty() ? ComparisonSettings{50, 2, 720, {}} : settings;
        next.mbps = 5;
        QCOMPARE(failureText(f_->engine->render(Fixture::movieInfo(kMovie), next)), kOk);
        QTEST(f_->fake.callLetters(), "nextCalls");
    }

    // The cut and the encode report frames done of the clip's frames (the cut of those its length
    // and rate give, the encode of those the cut made), and the time left once a frame is done.
    void progress()
    {
        f_->fake.setPrelude("ffmpeg",
                            R"(case "$LAST" in *.mkv|*.mp4) printf 'frame=30\nprogress=continue\n)"
                            R"(frame=74\nprogress=end\n' ;; esac)");
        QStringList reports;
        const ProgressCallback progress = [&reports](const RenderProgress &p) {
            reports << QString::asprintf("%s %lld/%lld%s", p.step == RenderProgress::Step::Cut ? "cut" : "encode",
                                         p.frames, p.totalFrames, p.remainingSeconds < 0 ? "?" : "");
        };
        for (const double mbps : {2.0, 3.0}) // the second encodes the same clip again
            QCOMPARE(failureText(f_->engine->render(Fixture::movieInfo(kMovie), {50, mbps, 720}, {}, progress)), kOk);
        QCOMPARE(reports.join(", "),
                 "cut 0/75?, cut 30/75, cut 74/75, encode 0/74?, encode 30/74, encode 74/74, "
                 "encode 0/74?, encode 30/74, encode 74/74");
    }
};

// After a good render at 50 s, 2 Mbit/s, 720 lines: one render with one tool's step for one file
// changed, then the same one (the first, when it ran no tool) with sound tools. The reference clip
// is kept for a new bitrate alone and through a failure after it was made; a new scene or height
// limit, a missing file or a failure while it is made cuts again. Refused input runs no tool.
void RenderTests::render_data()
{
    // The tool whose step for one file runs a shell line first, the encode's -b:v when the render did not fail, and
    // the calls of this render and of the next.
    const auto row = table<ComparisonSettings, QString, QString, QString, QString, qint64, double, QString, QString>(
        "settings", "tool", "file", "shell", "failure", "target", "measured", "calls", "nextCalls");
    const QString frame = previewError(PreviewError::frameNotExtracted().message()),
                  rate = previewError(PreviewError::invalidBitrate().message());
    row("new bitrate", {50, 4, 720}, "", "", "", kOk, 4000000, 2.37, "emx", "emx");
    row("upper bound", {50, 30, 720}, "", "", "", kOk, 30000000, 2.37, "emx", "emx");
    row("lower bound", {50, 0.3, 720}, "", "", "", kOk, 300000, 2.37, "emx", "emx");
    row("new height limit", {50, 2, 1080}, "", "", "", kOk, 2000000, 2.37, "cpoemx", "emx");
    // Another encoder setting at a bitrate rendered before is another result, on the same clip.
    row("x265 slow 10 bit", {50, 2, 720, {VideoEncoder::X265, "slow", 10}}, "", "", "", kOk, 2000000, 2.37, "emx",
        "emx");
    row("a scene one step on", {50.00000000000001, 2, 720}, "", "", "", kOk, 2000000, 2.37, "cpoemx", "emx");
    // A clip cut before whose reference is gone is cut again; it keeps its size and frame.
    row("reference clip gone", {50, 3, 720}, "ffprobe", "encoded.mp4", R"(rm "${LAST%/*/*/*}/reference.mkv")", kOk,
        3000000, 2.37, "emx", "cemx");
    row("original frame gone", {50, 3, 720}, "ffmpeg", "encoded.png", "rm clip-1/original.png", // in the work folder
        "SystemError: No such file or directory", 0, 0, "emx", "cpoemx");
    for (const double mbps : {30.01, 0.29, qQNaN()})
        row(QString::asprintf("%g Mbit/s", mbps), {50, mbps, 720}, "", "", "", rate, 0, 0, "", "emx");
    row("infinite scene", {qInf(), 2, 720}, "", "", "", previewError(PreviewError::invalidSceneTime().message()), 0, 0,
        "", "emx");
    // A failure while the clip is made shows with a new scene, one after it with a new bitrate.
    row("cut fails", {60, 2, 720}, "ffmpeg", "reference.mkv", "echo 'Schnitt kaputt' >&2; exit 1",
        previewError("Schnitt kaputt\n"), 0, 0, "c", "cpoemx");
    row("clip probe fails", {60, 2, 720}, "ffprobe", "reference.mkv", "exit 1",
        previewError(PreviewError::toolFailed("ffprobe", 1).message()), 0, 0, "cp", "cpoemx");
    row("clip without width", {60, 2, 720}, "ffprobe", "reference.mkv",
        R"(echo '{"streams":[{"height":720}]}'; exit 0)", previewError(PreviewError::referenceNotCreated().message()),
        0, 0, "cp", "cpoemx");
    row("first extraction fails", {60, 2, 720}, "ffmpeg", "original.png", "echo nein >&2; exit 1",
        previewError("nein\n"), 0, 0, "cpo", "cpoemx");
    // ffmpeg's way with a frame past the clip: success, no file. An old frame must not pass for the new one.
    row("stale original frame", {60, 2, 720}, "ffmpeg", "original.png", "exit 0", frame, 0, 0, "cpo", "cpoemx");
    row("encode fails", {50, 3, 720}, "ffmpeg", "encoded.mp4", "echo 'x265 kaputt' >&2; exit 1",
        previewError("x265 kaputt\n"), 0, 0, "e", "emx");
    row("stale encoded frame", {50, 3, 720}, "ffmpeg", "encoded.png", "exit 0", frame, 0, 0, "emx", "emx");
    // The measured bitrate is the text ffprobe prints; without it, or as a JSON number, it is 0.
    row("no measured bitrate", {50, 3, 720}, "ffprobe", "encoded.mp4", R"(echo '{"streams":[{}]}'; exit 0)", kOk,
        3000000, 0, "emx", "emx");
    row("bitrate as a number", {50, 3, 720}, "ffprobe", "encoded.mp4", R"(echo '{"streams":[{"bit_rate":2}]}'; exit 0)",
        kOk, 3000000, 0, "emx", "emx");
    // A still picture or a movie whose data ends before the scene: ffmpeg makes an empty clip.
    row("cut without frames", {60, 2, 720}, "ffmpeg", "reference.mkv",
        R"(printf 'frame=0\nprogress=end\n'; echo '[mov @ 0x5a] partial file' >&2; exit 0)",
        previewError(PreviewError::noFramesRead().message() + "\n[mov] partial file\n"), 0, 0, "cc", "cpoemx");
    // Keyframes far apart (MPEG-TS): the fast seek finds no frame, a cut from earlier does.
    row("no frame from the fast seek", {60, 2, 720}, "ffmpeg", "reference.mkv",
        R"(case "$*" in *" -i "*" -ss "*) ;; *) printf 'frame=0\nprogress=end\n'; exit 0 ;; esac)", kOk, 2000000, 2.37,
        "ccpoemx", "emx");
    // Cancelled while a tool runs: the tool is killed, nothing after it starts.
    row("cancelled in the cut", {60, 2, 720}, "ffmpeg", "reference.mkv", kHang, kCancelled, 0, 0, "c", "cpoemx");
    row("cancelled in the encode", {50, 3, 720}, "ffmpeg", "encoded.mp4", kHang, kCancelled, 0, 0, "e", "emx");
}

QTEST_GUILESS_MAIN(RenderTests)
#include "tst_render.moc"
