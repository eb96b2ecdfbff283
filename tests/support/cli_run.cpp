#include "support/cli_run.h"

#include <QDir>
#include <QJsonDocument>

CliRun::CliRun()
{
    QFile(films.filePath(QStringLiteral("film.mp4"))).open(QIODevice::WriteOnly);
}

QProcess *CliRun::start(const QStringList &arguments, const QString &shell)
{
    process.reset(new QProcess);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), tmp.path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(films.path());
    if (shell.isEmpty())
        process->start(QStringLiteral(BITGLANCE_CLI), arguments);
    else
        process->start(QStringLiteral("bash"), QStringList{"-c", shell, BITGLANCE_CLI} + arguments);
    return process.get();
}

CliRun::Outcome CliRun::run(const QStringList &arguments, const QString &shell)
{
    start(arguments, shell)->waitForFinished(240000);
    return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1, process->readAllStandardOutput(),
            QString::fromUtf8(process->readAllStandardError())};
}

QStringList CliRun::workFolders() const
{
    return QDir(tmp.path()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

QList<QJsonObject> CliRun::jsonLines(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    }
    return objects;
}
