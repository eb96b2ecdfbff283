#include "support/fake_tools.h"

#include <QImage>

#include <cstdio>

FakeTools::FakeTools()
{
    for (const auto &[name, colour] :
         {std::pair{"original-frame.png", QColor(200, 40, 40)}, {"encoded-frame.png", QColor(40, 40, 200)}}) {
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(colour);
        image.save(dir_.filePath(name), "PNG");
    }
    setProbeJson(defaultProbeJson());
    setReferenceSize(1920, 1080);
    write("encoded.json", R"({"streams":[{"bit_rate":"2370000"}]})");
    for (const char *tool : {"ffmpeg", "ffprobe"})
        setBody(tool, defaultBody(tool));
}

QString FakeTools::defaultProbeJson()
{
    return R"({"streams":[{"codec_type":"video","codec_name":"h264","width":1920,"height":1080,)"
           R"("avg_frame_rate":"25/1","duration":"100.000000","bit_rate":"8520000",)"
           R"("field_order":"progressive","disposition":{"attached_pic":0}}],"format":{"duration":"100.000000"}})";
}

void FakeTools::setReferenceSize(int width, int height)
{
    write("reference.json", QString::asprintf(R"({"streams":[{"width":%d,"height":%d}]})", width, height).toUtf8());
}

QString FakeTools::defaultBody(const QString &tool) const
{
    if (tool == "ffprobe")
        return R"(case "$LAST" in *reference.mkv) cat "$DIR/reference.json" ;; *encoded.mp4) cat "$DIR/encoded.json" ;;)"
               R"( *) cat "$DIR/movie.json" ;; esac)";
    return qualityBody()
        + R"(case "$LAST" in *original.png) cp "$DIR/original-frame.png" "$LAST" ;;)"
          R"( *encoded.png) cp "$DIR/encoded-frame.png" "$LAST" ;; *) : > "$LAST" ;; esac)";
}

QString FakeTools::qualityBody()
{
    // Frame n (counted from 1 in the stats) has SSIM 0.9nnn and PSNR 30.n dB.
    return R"(case "$*" in *stats_file=*)
awk 'BEGIN { for (n = 1; n <= 200; n++) printf "n:%d Y:0.9 U:0.9 V:0.9 All:0.9%03d (13.0)\n", n, n }' > ssim.log
awk 'BEGIN { for (n = 1; n <= 200; n++) printf "n:%d mse_avg:1.00 psnr_avg:30.%d psnr_y:30.00\n", n, n }' > psnr.log
echo '[Parsed_psnr_7 @ 0x5581] PSNR y:inf u:inf v:inf average:inf min:inf max:inf' >&2
echo '[Parsed_ssim_6 @ 0x5582] SSIM Y:0.95 (13.0) U:0.95 (13.0) V:0.95 (13.0) All:0.951000 (13.1)' >&2
exit 0 ;; esac
)";
}

void FakeTools::setBody(const QString &tool, const QString &body)
{
    // The call goes into calls.log as one line (tool, then each argument after a 0x1f) in one
    // write, so that tools running at the same time cannot interleave. The script is written beside
    // and renamed into place: a tool started meanwhile never meets a half-written file.
    write(tool + ".new",
          QString(R"(#!/bin/sh
DIR='%1'
for LAST in "$@"; do :; done
CALL=$(printf '%s' %2; for a in "$@"; do printf '\037%s' "$a"; done)
printf '%s\n' "$CALL" >> "$DIR/calls.log"
)")
                  .arg(QString(dir_.path()).replace("'", R"('\'')"), tool)
                  .toUtf8()
              + body.toUtf8() + '\n');
    QFile::setPermissions(dir_.filePath(tool + ".new"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    std::rename(QFile::encodeName(dir_.filePath(tool + ".new")), QFile::encodeName(dir_.filePath(tool)));
}

QList<FakeTools::Call> FakeTools::calls(const QString &tool) const
{
    QList<Call> result;
    QFile file(dir_.filePath("calls.log"));
    for (const QString &line :
         file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n') : QStringList()) {
        QStringList parts = line.split(QChar(0x1f));
        const QString name = parts.takeFirst();
        if (!line.isEmpty() && (tool.isEmpty() || name == tool))
            result.append({name, parts});
    }
    return result;
}

QString FakeTools::callLetters() const
{
    static const QStringList order{"ffmpeg reference.mkv", "ffprobe reference.mkv", "ffmpeg original.png",
                                   "ffmpeg encoded.mp4",   "ffprobe encoded.mp4",   "ffmpeg encoded.png"};
    QString letters;
    for (const Call &call : calls())
        letters += call.args.join(' ').contains("stats_file")
            ? 'q'
            : "?cpoemx"[order.indexOf(call.tool + ' ' + call.args.last().section('/', -1)) + 1];
    return letters;
}

QStringList FakeTools::values(const QString &option) const
{
    QStringList values;
    for (const Call &call : calls("ffmpeg"))
        if (const qsizetype at = call.args.indexOf(option); at >= 0)
            values << call.args.value(at + 1);
    return values;
}

void FakeTools::write(const QString &name, const QByteArray &content)
{
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("FakeTools: cannot write %s", qPrintable(file.fileName()));
}
