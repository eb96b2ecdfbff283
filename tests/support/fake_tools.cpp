#include "fake_tools.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

const QChar kSeparator(0x1f);

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1String("'"), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

void writePng(const QString &path, const QColor &colour)
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path, "PNG");
}

} // namespace

FakeTools::FakeTools()
{
    Q_ASSERT(dir_.isValid());
    writePng(dir_.filePath(QStringLiteral("original-frame.png")), QColor(200, 40, 40));
    writePng(dir_.filePath(QStringLiteral("encoded-frame.png")), QColor(40, 40, 200));
    setProbeJson(defaultProbeJson());
    setReferenceSize(1920, 1080);
    setEncodedBitrate(QStringLiteral("2370000"));
    writeDefaults();
}

QString FakeTools::defaultProbeJson()
{
    return QStringLiteral(R"({"streams":[{"codec_type":"video","codec_name":"h264","width":1920,"height":1080,)"
                          R"("avg_frame_rate":"25/1","duration":"100.000000","bit_rate":"8520000",)"
                          R"("field_order":"progressive","disposition":{"attached_pic":0}}],)"
                          R"("format":{"duration":"100.000000"}})");
}

void FakeTools::setProbeJson(const QString &json)
{
    QFile file(dir_.filePath(QStringLiteral("movie.json")));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(json.toUtf8());
}

void FakeTools::setReferenceSize(int width, int height)
{
    QFile file(dir_.filePath(QStringLiteral("reference.json")));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QStringLiteral(R"({"streams":[{"width":%1,"height":%2}]})").arg(width).arg(height).toUtf8());
}

void FakeTools::setEncodedBitrate(const QString &bitsPerSecond)
{
    QFile file(dir_.filePath(QStringLiteral("encoded.json")));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (bitsPerSecond.isEmpty())
        file.write(R"({"streams":[{"codec_type":"video"}]})");
    else
        file.write(QStringLiteral(R"({"streams":[{"bit_rate":"%1"}]})").arg(bitsPerSecond).toUtf8());
}

QString FakeTools::defaultBody(const QString &tool) const
{
    if (tool == QLatin1String("ffprobe")) {
        return QStringLiteral("case \"$LAST\" in\n"
                              "  *reference.mkv) cat \"$DIR/reference.json\" ;;\n"
                              "  *encoded.mp4) cat \"$DIR/encoded.json\" ;;\n"
                              "  *) cat \"$DIR/movie.json\" ;;\n"
                              "esac\n");
    }
    return QStringLiteral("case \"$LAST\" in\n"
                          "  *original.png) cp \"$DIR/original-frame.png\" \"$LAST\" ;;\n"
                          "  *encoded.png) cp \"$DIR/encoded-frame.png\" \"$LAST\" ;;\n"
                          "  *) : > \"$LAST\" ;;\n"
                          "esac\n");
}

void FakeTools::writeDefaults()
{
    writeScript(QStringLiteral("ffmpeg"), defaultBody(QStringLiteral("ffmpeg")));
    writeScript(QStringLiteral("ffprobe"), defaultBody(QStringLiteral("ffprobe")));
}

void FakeTools::setBody(const QString &tool, const QString &body)
{
    writeScript(tool, body);
}

void FakeTools::setDelay(const QString &tool, const QString &seconds)
{
    writeScript(tool, QStringLiteral("sleep %1\n").arg(seconds) + defaultBody(tool));
}

void FakeTools::setPrelude(const QString &tool, const QString &shell)
{
    writeScript(tool, shell + QLatin1Char('\n') + defaultBody(tool));
}

void FakeTools::writeScript(const QString &tool, const QString &body)
{
    // Written beside and renamed into place: a script is never open for writing under its own
    // name, so a tool started meanwhile cannot fail with "Text file busy".
    const QString path = dir_.filePath(tool);
    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh);
    QFile file(fresh);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    // The prologue records the call as one line: tool, then each argument, separated by 0x1f.
    // The line goes out in one write, so that tools running at the same time (two engines)
    // cannot interleave their lines.
    const QString script = QStringLiteral("#!/bin/sh\n"
                                          "DIR=%1\n"
                                          "for LAST in \"$@\"; do :; done\n"
                                          "CALL=$(printf '%s' %2; for a in \"$@\"; do printf '\\037%s' \"$a\"; done)\n"
                                          "printf '%s\\n' \"$CALL\" >> \"$DIR/calls.log\"\n")
                               .arg(shellQuote(dir_.path()), tool)
        + body;
    file.write(script.toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                        | QFile::ReadOther | QFile::ExeOther);
    ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData());
}

void FakeTools::removeTool(const QString &tool)
{
    QFile::remove(dir_.filePath(tool));
}

QList<FakeTools::Call> FakeTools::calls() const
{
    QList<Call> result;
    QFile file(dir_.filePath(QStringLiteral("calls.log")));
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        QStringList parts = line.split(kSeparator);
        Call call;
        call.tool = parts.takeFirst();
        call.args = parts;
        result.append(call);
    }
    return result;
}

QList<FakeTools::Call> FakeTools::calls(const QString &tool) const
{
    QList<Call> result;
    for (const Call &call : calls()) {
        if (call.tool == tool)
            result.append(call);
    }
    return result;
}

void FakeTools::clearCalls()
{
    QFile::remove(dir_.filePath(QStringLiteral("calls.log")));
}
