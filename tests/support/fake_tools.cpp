#include "fake_tools.h"

#include <QColor>
#include <QFile>
#include <QImage>

#include <cstdio>

FakeTools::FakeTools()
{
    for (const auto &[name, colour] :
         {std::pair{"original-frame.png", QColor(200, 40, 40)}, std::pair{"encoded-frame.png", QColor(40, 40, 200)}}) {
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(colour);
        image.save(dir_.filePath(QString::fromLatin1(name)), "PNG");
    }
    setProbeJson(defaultProbeJson());
    setReferenceSize(1920, 1080);
    write(QStringLiteral("encoded.json"), R"({"streams":[{"bit_rate":"2370000"}]})");
    for (const QString &tool : {QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
        setBody(tool, defaultBody(tool));
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
    write(QStringLiteral("movie.json"), json.toUtf8());
}

void FakeTools::setReferenceSize(int width, int height)
{
    write(QStringLiteral("reference.json"),
          QStringLiteral(R"({"streams":[{"width":%1,"height":%2}]})").arg(width).arg(height).toUtf8());
}

QString FakeTools::defaultBody(const QString &tool) const
{
    if (tool == QLatin1String("ffprobe"))
        return QStringLiteral("case \"$LAST\" in *reference.mkv) cat \"$DIR/reference.json\" ;;\n"
                              "  *encoded.mp4) cat \"$DIR/encoded.json\" ;; *) cat \"$DIR/movie.json\" ;; esac\n");
    return QStringLiteral("case \"$LAST\" in *original.png) cp \"$DIR/original-frame.png\" \"$LAST\" ;;\n"
                          "  *encoded.png) cp \"$DIR/encoded-frame.png\" \"$LAST\" ;; *) : > \"$LAST\" ;; esac\n");
}

void FakeTools::setDelay(const QString &tool, const QString &seconds)
{
    setBody(tool, QStringLiteral("sleep %1\n").arg(seconds) + defaultBody(tool));
}

void FakeTools::setPrelude(const QString &tool, const QString &shell)
{
    setBody(tool, shell + QLatin1Char('\n') + defaultBody(tool));
}

void FakeTools::setBody(const QString &tool, const QString &body)
{
    // The call goes into calls.log as one line (tool, then each argument after a 0x1f) in one
    // write, so that tools running at the same time cannot interleave their lines. The script is
    // written beside and renamed into place: a tool started meanwhile never meets a half-written
    // file ("Text file busy").
    QString folder = dir_.path();
    folder.replace(QLatin1String("'"), QLatin1String("'\\''"));
    write(tool + QStringLiteral(".new"),
          QStringLiteral("#!/bin/sh\nDIR='%1'\nfor LAST in \"$@\"; do :; done\n"
                         "CALL=$(printf '%s' %2; for a in \"$@\"; do printf '\\037%s' \"$a\"; done)\n"
                         "printf '%s\\n' \"$CALL\" >> \"$DIR/calls.log\"\n")
                  .arg(folder, tool)
                  .toUtf8()
              + body.toUtf8());
    QFile::setPermissions(dir_.filePath(tool + QStringLiteral(".new")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    std::rename(QFile::encodeName(dir_.filePath(tool + QStringLiteral(".new"))).constData(),
                QFile::encodeName(dir_.filePath(tool)).constData());
}

void FakeTools::removeTool(const QString &tool)
{
    QFile::remove(dir_.filePath(tool));
}

QList<FakeTools::Call> FakeTools::calls(const QString &tool) const
{
    QList<Call> result;
    QFile file(dir_.filePath(QStringLiteral("calls.log")));
    if (!file.open(QIODevice::ReadOnly))
        return result;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QStringList parts = line.split(QChar(0x1f));
        const QString name = parts.takeFirst();
        if (tool.isEmpty() || name == tool)
            result.append({name, parts});
    }
    return result;
}

QList<FakeTools::Call> FakeTools::calls() const
{
    return calls(QString());
}

void FakeTools::clearCalls()
{
    QFile::remove(dir_.filePath(QStringLiteral("calls.log")));
}

void FakeTools::write(const QString &name, const QByteArray &content)
{
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("FakeTools: cannot write %s", qPrintable(file.fileName()));
}
