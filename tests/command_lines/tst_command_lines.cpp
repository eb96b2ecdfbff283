// What the engine hands to the tools: numbers as text, the clip plan, every command line, and a
// movie's path.

#include "engine/encoder_catalogue.h"
#include "engine/film_command.h"
#include "engine/internal/ffmpeg_commands.h"
#include "engine/internal/movie_file.h"
#include "engine/internal/work_folder.h"
#include "engine/number_text.h"
#include "support/engine_on_fake_tools.h"
#include "support/failure_text.h"
#include "support/text_table.h"

#include <QtTest>

#include <clocale>

using namespace FfmpegCommands;

class CommandLines : public QObject {
    Q_OBJECT

private slots:
    // Numbers go to ffmpeg and into the clip key as the shortest text that reads back as the same
    // double, with a point and a fraction, never an exponent, whatever the locale; they are read
    // back from whole texts only.
    void numberTexts()
    {
        const QByteArray saved = setlocale(LC_NUMERIC, nullptr);
        setlocale(LC_NUMERIC, "de_DE.UTF-8"); // a decimal comma, where the system has it
        QStringList texts;
        for (double value : {12.0, 0.0, 2.5, 0.05, 1e-7, 51.000000000000007, 4.35, qQNaN(), -qInf()})
            texts << doubleText(value) + (parseNumber(doubleText(value)) == value ? "" : "!");
        for (const QString text : {"90.5", "1e3", "inf", "", " 1", "1 ", "1,5", "N/A"})
            texts << (parseNumber(text) ? QString::number(*parseNumber(text)) : "-");
        setlocale(LC_NUMERIC, saved);
        QCOMPARE(texts.join(' '),
                 "12.0 0.0 2.5 0.05 0.0000001 51.00000000000001 4.35 nan! -inf 90.5 1000 inf - - - - -");
        QCOMPARE(parseNumber(QString("12") + QChar(0) + "3"), std::nullopt);
    }

    void clipPlan_data()
    {
        // The movie's duration, rate and height, the scene and height limit asked for, then the plan:
        // the clip's start and length, the compared frame, the output height and the frame's time.
        const auto row = table<double, double, qint64, double, qint64, double, double, qint64, qint64, double>(
            "duration", "fps", "height", "seconds", "maxHeight", "start", "length", "frame", "outputHeight", "time");
        const double inf = qInf();
        row("middle", 100, 25, 1080, 50, 720, 49, 3, 25, 720, 50);
        row("near the end: moved back", 100, 25, 1080, 99.5, 0, 97, 3, 62, 1080, 99.48);
        row("end: last but one frame", 100, 25, 1080, 100, 0, 97, 3, 73, 1080, 99.92);
        row("start", 100, 25, 1080, 0, 0, 0, 3, 0, 1080, 0);
        row("2-second film", 2, 25, 1080, 1.5, 0, 0, 2, 37, 1080, 1.48);
        row("0.05 s film: no last frame", 0.05, 25, 1080, 0.04, 0, 0, 0.05, 0, 1080, 0);
        row("1080 limit on 720 lines", 100, 25, 720, 50, 1080, 49, 3, 25, 720, 50);
        row("no limit on 2160 lines", 100, 25, 2160, 50, 0, 49, 3, 25, 2160, 50);
        row("NTSC", 60, 30000 / 1001.0, 1080, 30, 0, 29, 3, 29, 1080, 29 + 29 * 1001 / 30000.0);
        // Nonsense must not make the arithmetic undefined.
        row("infinite rate", 100, inf, 1080, 50, 0, 49, 3, 4611686018427387902, 1080, 49);
        row("infinite rate at the start", 100, inf, 1080, 0, 0, 0, 3, 0, 1080, 0);
        row("infinite duration", inf, 25, 1080, 50, 0, 49, 3, 25, 1080, 50);
        row("scene far beyond the end", 100, 25, 1080, 1e300, 0, 97, 3, 73, 1080, 99.92);
    }
    void clipPlan()
    {
        const ClipPlan p =
            ClipPlan::compute(EngineOnFakeTools::movieInfo({}, fetched<double>("duration"), fetched<double>("fps"),
                                                           fetched<qint64>("height")),
                              fetched<double>("seconds"), fetched<qint64>("maxHeight"));
        QTEST(p.start, "start");
        QTEST(p.clipLength, "length");
        QTEST(p.frame, "frame");
        QTEST(p.outputHeight, "outputHeight");
        QTEST(p.frameTime, "time");
    }

    void commandLines_data();
    void commandLines() { QTEST(fetched<QString>("arguments"), "expected"); }

    // A movie reaches the tools by its absolute path: "-" or "http:x" is no standard input, option or protocol.
    void moviePath()
    {
        const WorkFolder folder;
        QCOMPARE(MovieFile(QUrl::fromLocalFile("-"), folder).toolPath(), QDir::currentPath() + "/-");
        for (const QUrl &url : {QUrl("https://example.org/film.mp4"), QUrl("file:")})
            QVERIFY(failureOf([&] { MovieFile(url, folder); }).startsWith("PreviewError: Keine "));
    }
};

void CommandLines::commandLines_data()
{
    const auto row = table<QString, QString>("arguments", "expected");
    ClipPlan plan;
    plan.start = 97, plan.clipLength = 0.05, plan.outputHeight = 720;
    row("probe", probe("/F i.mp4").join(' '), "-v error -show_format -show_streams -of json /F i.mp4");
    row("cut", referenceCut("/F i.mp4", plan, "/W/reference.mkv").join(' '),
        R"(-v error -nostdin -progress pipe:1 -y -ss 97.0 -noautorotate -i /F i.mp4 -t 0.05 -map 0:V:0 -an -sn -dn )"
        R"(-vf scale=-2:2*trunc(min(ih\,720)/2),setsar=1,format=yuv420p -c:v utvideo /W/reference.mkv)");
    row("cut from earlier", referenceCutFromEarlier("/F i.mp4", plan, 10, "/W/reference.mkv").join(' '),
        R"(-v error -nostdin -progress pipe:1 -y -ss 87.0 -noautorotate -i /F i.mp4 -ss 10.0 -t 0.05 -map 0:V:0 -an )"
        R"(-sn -dn -vf scale=-2:2*trunc(min(ih\,720)/2),setsar=1,format=yuv420p -c:v utvideo /W/reference.mkv)");
    row("frame", frameExtraction("/W/reference.mkv", 25, "original.png").join(' '),
        R"(-v error -nostdin -y -i /W/reference.mkv -vf select=eq(n\,25) -frames:v 1 original.png)");
    row("frame of a 10-bit clip", frameExtraction("/W/e.mp4", 25, "encoded.png", 10).join(' '),
        R"(-v error -nostdin -y -i /W/e.mp4 -vf select=eq(n\,25),format=yuv420p -frames:v 1 encoded.png)");
    row("decoded copy", decodedCopy("/W/e.mp4", "/W/playback-encoded.mkv").join(' '),
        "-v error -nostdin -y -i /W/e.mp4 -map 0:v:0 -fps_mode passthrough -pix_fmt yuv420p -c:v utvideo "
        "/W/playback-encoded.mkv");
    row("encode", encode("/W/reference.mkv", "/W/encoded.mp4", 2000000).join(' '),
        "-v error -nostdin -progress pipe:1 -y -i /W/reference.mkv -map 0:v:0 -an -fps_mode passthrough -c:v libx265 "
        "-preset veryfast "
        "-x265-params log-level=error -b:v 2000000 -pix_fmt yuv420p -tag:v hvc1 /W/encoded.mp4");

    // Another setting changes only the encoder's part, from "-c:v" on.
    const auto encoderPart = [](VideoEncoder encoder, const QString &preset, int depth, HardwareApi api = {}) {
        const QStringList arguments =
            encode("/W/reference.mkv", "/W/encoded.mp4", 800000, EncoderSetting{encoder, preset, depth, api});
        const QString common = "-v error -nostdin -progress pipe:1 -y -i /W/reference.mkv -map 0:v:0 -an "
                               "-fps_mode passthrough ";
        const QString all = arguments.join(' ');
        return all.startsWith(common) && all.endsWith(" /W/encoded.mp4") ? all.mid(common.size()).chopped(15) : all;
    };
    row("x265 slow 10 bit", encoderPart(VideoEncoder::X265, "slow", 10),
        "-c:v libx265 -preset slow -x265-params log-level=error -b:v 800000 -pix_fmt yuv420p10le -tag:v hvc1");
    row("x264 veryslow 10 bit", encoderPart(VideoEncoder::X264, "veryslow", 10),
        "-c:v libx264 -preset veryslow -b:v 800000 -pix_fmt yuv420p10le -tag:v avc1");
    row("SVT-AV1 4 10 bit", encoderPart(VideoEncoder::SvtAv1, "4", 10),
        "-c:v libsvtav1 -preset 4 -b:v 800000 -pix_fmt yuv420p10le");
    row("VAAPI 8 bit", encoderPart(VideoEncoder::HevcHardware, "", 8, HardwareApi::Vaapi),
        "-vaapi_device /dev/dri/renderD128 -vf format=nv12,hwupload -c:v hevc_vaapi -b:v 800000 -tag:v hvc1");
    row("VAAPI 10 bit", encoderPart(VideoEncoder::HevcHardware, "", 10, HardwareApi::Vaapi),
        "-vaapi_device /dev/dri/renderD128 -vf format=p010le,hwupload -c:v hevc_vaapi -b:v 800000 -tag:v hvc1");
    row("NVENC 10 bit", encoderPart(VideoEncoder::HevcHardware, "", 10, HardwareApi::Nvenc),
        "-c:v hevc_nvenc -b:v 800000 -pix_fmt p010le -tag:v hvc1");
    row("QSV 8 bit", encoderPart(VideoEncoder::HevcHardware, "", 8, HardwareApi::Qsv),
        "-c:v hevc_qsv -b:v 800000 -pix_fmt nv12 -tag:v hvc1");
    // Every preset and depth offered goes through as it is.
    for (VideoEncoder encoder : EncoderCatalogue::softwareEncoders())
        for (const QString &preset : EncoderCatalogue::presets(encoder))
            for (int depth : EncoderCatalogue::depths(encoder)) {
                const QString part = encoderPart(encoder, preset, depth);
                const QStringList words = part.split(' ');
                const bool asked = words.value(words.indexOf("-preset") + 1) == preset
                    && words.value(words.indexOf("-pix_fmt") + 1) == (depth == 10 ? "yuv420p10le" : "yuv420p");
                row(qPrintable(QString("%1 %2 %3 bit").arg(EncoderCatalogue::cliName(encoder), preset).arg(depth)),
                    asked ? QString("as asked") : part, "as asked");
            }
    row("card test", hardwareTest(EncoderSetting{VideoEncoder::HevcHardware, "", 8, HardwareApi::Nvenc}).join(' '),
        "-v error -nostdin -y -f lavfi -i color=black:size=320x240:rate=25,format=yuv420p -frames:v 1 -c:v hevc_nvenc "
        "-b:v 1000000 -pix_fmt yuv420p -tag:v hvc1 -f null -");

    // The whole movie as the comparison encodes its clip: a card's upload joins the scale filter.
    MovieInfo film = EngineOnFakeTools::movieInfo("/F/Mein Film's Äpfel.mkv", 100, 25, 2160);
    row("film, default", FilmCommand::shellText(film, {50, 2, 1080}),
        R"(ffmpeg -hide_banner -nostdin -noautorotate -i '/F/Mein Film'\''s Äpfel.mkv' -map 0:V:0 -map '0:a?' )"
        R"(-map '0:s?' -map '0:t?' -c copy -fps_mode passthrough -vf 'scale=-2:2*trunc(min(ih\,1080)/2),setsar=1,)"
        R"(format=yuv420p' -c:v libx265 -preset veryfast -x265-params log-level=error -b:v 2000000 -pix_fmt yuv420p )"
        R"(-tag:v hvc1 '/F/Mein Film'\''s Äpfel-x265-2.0mbps.mkv')");
    row("film, VAAPI 10 bit",
        FilmCommand::arguments(film, {50, 0.5, 0, {VideoEncoder::HevcHardware, "", 10, HardwareApi::Vaapi}})
            .mid(17)
            .join(' '),
        "-vf scale=-2:2*trunc(min(ih\\,2160)/2),setsar=1,format=yuv420p,format=p010le,hwupload -vaapi_device "
        "/dev/dri/renderD128 -c:v hevc_vaapi -b:v 500000 -tag:v hvc1 /F/Mein Film's Äpfel-hevc-hw-0.5mbps.mkv");
    QStringList quoted;
    for (const QString word : {"plain-1.0_x/y:z=a,b+c@d%", "", "-", "a b", "it's", "$HOME", "a\\b", "*", "Äpfel"})
        quoted << FilmCommand::shellQuoted(word);
    row("shell words", quoted.join(' '), R"(plain-1.0_x/y:z=a,b+c@d% '' - 'a b' 'it'\''s' '$HOME' 'a\b' '*' 'Äpfel')");
}

QTEST_GUILESS_MAIN(CommandLines)
#include "tst_command_lines.moc"
