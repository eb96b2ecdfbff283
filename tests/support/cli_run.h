#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Runs bitglance-cli with a private temporary folder (so its work folders can be counted), in a
// folder that holds an empty "film.mp4" for the fake tools. A shell line, when given, runs the
// program as "$0" "$@" (to close or redirect its output).
class CliRun {
public:
    struct Outcome {
        int status = -1;
        QByteArray out;
        QString err;
    };

    CliRun();

    QProcess *start(const QStringList &arguments, const QString &shell = QString());
    Outcome run(const QStringList &arguments, const QString &shell = QString());
    QStringList workFolders() const;
    // The JSON objects of the lines printed.
    static QList<QJsonObject> jsonLines(const QByteArray &out);

    QTemporaryDir tmp;
    QTemporaryDir films;
    std::unique_ptr<QProcess> process;
};
