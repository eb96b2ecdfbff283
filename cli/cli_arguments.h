#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The command line of bitglance-cli:
//   bitglance-cli probe  [--tools DIR] FILM
//   bitglance-cli render [--tools DIR] FILM --seconds S --mbps M[,M...] [--max-height 0|720|1080] [--out DIR]
// Numbers are read in the C locale. "--" ends the options, so a film may start with a dash.
struct CliArguments {
    enum class Command { Probe, Render };

    Command command = Command::Probe;
    QString toolsDirectory; // empty: the program's own Tools folder
    QString film;           // absolute path
    double seconds = 0;
    QList<double> mbps;
    qint64 maxHeight = 0;
    QString outDirectory; // absolute path

    // arguments without the program name. On a usage error returns nothing and sets *problem.
    static std::optional<CliArguments> parse(const QStringList &arguments, QString *problem);
    static QString usage();
};
