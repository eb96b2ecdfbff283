#pragma once

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// Runs bitglance-cli (BITGLANCE_CLI) with a private temporary folder (so its work folders can be
// counted), in a folder that holds an empty "film.mp4" for the fake tools, in German (LC_ALL, and
// no LANGUAGE) unless the test changes `environment`. A shell line, when given, runs the program as
// "$0" "$@" (to close or redirect its output).
class CliRun {
public:
    struct Outcome {
        int status = -1;
        QByteArray out;
        QString err;
    };

    CliRun()
    {
        QFile(movies.filePath(QStringLiteral("film.mp4"))).open(QIODevice::WriteOnly);
        environment.insert(QStringLiteral("TMPDIR"), tmp.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        environment.remove(QStringLiteral("LANGUAGE"));
    }

    QProcess *start(const QStringList &arguments, const QString &shell = QString())
    {
        process.reset(new QProcess);
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(movies.path());
        if (shell.isEmpty())
            process->start(QStringLiteral(BITGLANCE_CLI), arguments);
        else
            process->start(QStringLiteral("bash"), QStringList{"-c", shell, BITGLANCE_CLI} + arguments);
        return process.get();
    }

    Outcome run(const QStringList &arguments, const QString &shell = QString())
    {
        start(arguments, shell)->waitForFinished(240000);
        return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                process->readAllStandardOutput(), QString::fromUtf8(process->readAllStandardError())};
    }

    QStringList workFolders() const
    {
        return QDir(tmp.path()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    }

    // The JSON objects of the lines printed.
    static QList<QJsonObject> jsonLines(const QByteArray &out)
    {
        QList<QJsonObject> objects;
        for (const QByteArray &line : out.split('\n')) {
            if (!line.isEmpty())
                objects << QJsonDocument::fromJson(line).object();
        }
        return objects;
    }

    QTemporaryDir tmp;
    QTemporaryDir movies;
    std::unique_ptr<QProcess> process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};
