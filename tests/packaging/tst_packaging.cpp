// What the package installs beside the programs, checked where it is quick: the manual page and the
// bash completion against the command line's own usage, the manual pages through man, the desktop
// entry and the software centre's metadata through their validators, and an installed program's
// tools. The package itself (lintian, an unpacked copy rendering a film) is checked by
// `./build.sh package`.

#include "support/cli_run.h"
#include "support/fake_tools.h"
#include "support/test_movies.h"
#include "support/text_table.h"

#include <QRegularExpression>
#include <QtTest>

#include <map>
#include <set>

namespace {

using Words = std::set<QString>;

QString sourceFile(const QString &name)
{
    return QStringLiteral(BITGLANCE_SOURCE_DIR "/") + name;
}

QString builtFile(const QString &name)
{
    return QStringLiteral(BITGLANCE_BUILD_DIR "/") + name;
}

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

Words longOptions(const QString &text)
{
    Words options;
    static const QRegularExpression option(QStringLiteral(R"((?<![\w-])--([a-z][a-z0-9-]*))"));
    for (const QRegularExpressionMatch &match : option.globalMatch(text))
        options.insert(match.captured(0));
    return options;
}

QString joined(const Words &words)
{
    return QStringList(words.begin(), words.end()).join(u' ');
}

// The usage bitglance-cli prints, from its argument parser.
QString usage()
{
    CliRun cli;
    const CliRun::Outcome help = cli.run({QStringLiteral("--help")});
    if (help.status != 0)
        qFatal("bitglance-cli --help failed");
    return QString::fromUtf8(help.out);
}

// The options the usage lists for each command: on the lines of "bitglance-cli render ..." and under
// it, and on those of "render, scan and advise also take ...".
std::map<QString, Words> optionsByCommand()
{
    std::map<QString, Words> options;
    QStringList commands;
    static const QRegularExpression commandLine(QStringLiteral(R"(bitglance-cli +(\w+))"));
    static const QRegularExpression sharedLine(QStringLiteral(R"(^\s*([\w, ]+) also take)"));
    for (const QString &line : usage().split(u'\n')) {
        if (const QRegularExpressionMatch match = commandLine.match(line); match.hasMatch())
            commands = QStringList{match.captured(1)};
        else if (const QRegularExpressionMatch shared = sharedLine.match(line); shared.hasMatch())
            commands =
                shared.captured(1).replace(QLatin1String(" and "), QLatin1String(", ")).split(QStringLiteral(", "));
        else if (line.contains(QLatin1String("bitglance-cli --")))
            commands.clear();
        const Words found = longOptions(line);
        for (const QString &command : commands)
            options[command].insert(found.begin(), found.end());
    }
    return options;
}

// The manual page's roff as text: "\-" is a dash there.
QString manPageText(const QString &name)
{
    return readAll(sourceFile(QStringLiteral("packaging/%1.in").arg(name))).replace(QLatin1String("\\-"), "-");
}

// What the completion offers for the words of a command line whose last word is being completed,
// in the folder given, sorted.
QStringList completions(const QStringList &words, const QString &folder)
{
    QProcess bash;
    bash.setWorkingDirectory(folder);
    bash.start(QStringLiteral("bash"),
               QStringList{"-c",
                           R"(source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _bitglance_cli;)"
                           R"( printf '%s\n' "${COMPREPLY[@]}")",
                           "bash", sourceFile(QStringLiteral("packaging/bitglance-cli.bash"))}
                   + words);
    if (!bash.waitForFinished(20000) || bash.exitCode() != 0)
        qFatal("bash failed: %s", bash.readAllStandardError().constData());
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

} // namespace

class Packaging : public QObject {
    Q_OBJECT

private slots:
    // Every option the parser's usage names is in the manual page, and the page names no other.
    void manualPageHasTheParsersOptions()
    {
        const Words parser = longOptions(usage());
        const Words page = longOptions(manPageText(QStringLiteral("bitglance-cli.1")));
        QVERIFY(parser.size() > 10);
        QCOMPARE(joined(page), joined(parser));
        for (const auto &[command, options] : optionsByCommand())
            QVERIFY2(manPageText(QStringLiteral("bitglance-cli.1")).contains(".SY \"bitglance-cli " + command + '"'),
                     qPrintable(command));
    }

    // The usage names only options the parser takes for that command.
    void usageOptionsAreParsed_data()
    {
        const auto row = table<QString, QString>("command", "option");
        for (const auto &[command, options] : optionsByCommand()) {
            for (const QString &option : options)
                row(command + ' ' + option, command, option);
        }
    }

    void usageOptionsAreParsed()
    {
        // A value for the option, if it takes one, then the film; a flag leaves two films.
        CliRun cli;
        const CliRun::Outcome outcome =
            cli.run({fetched<QString>("command"), fetched<QString>("option"), "8", "film.mp4"});
        QVERIFY2(!outcome.err.contains(QLatin1String("unknown option")), qPrintable(outcome.err));
    }

    void completion_data()
    {
        // The words typed (the last one being completed), and what Tab offers in a folder with the
        // files "film.mkv", "Urlaub.MP4", "-dash.mp4", "notes.txt" and the folder "clips".
        const auto row = table<QStringList, QStringList>("words", "offered");
        row("commands", {""}, {"--help", "advise", "help", "probe", "render", "scan"});
        row("height limits", {"render", "film.mkv", "--max-height", ""}, {"0", "1080", "720"});
        row("encoders", {"advise", "--encoder", ""}, {"hevc-hw", "svtav1", "x264", "x265"});
        row("presets of x265", {"render", "--preset", "very"}, {"veryfast", "veryslow"});
        row("presets of svtav1", {"render", "--encoder", "svtav1", "--preset", "1"}, {"10", "11", "12"});
        row("bit depths", {"render", "--depth", ""}, {"10", "8"});
        row("frame", {"render", "--frame", "w"}, {"worst"});
        row("films and folders", {"render", ""}, {"-dash.mp4", "Urlaub.MP4", "clips", "film.mkv"});
        row("a film starting with a dash", {"probe", "--", "-"}, {"-dash.mp4"});
    }

    void completion()
    {
        QTemporaryDir folder;
        for (const char *name : {"film.mkv", "Urlaub.MP4", "-dash.mp4", "notes.txt"})
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("clips")));
        QCOMPARE(completions(QStringList{"bitglance-cli"} + fetched<QStringList>("words"), folder.path()),
                 fetched<QStringList>("offered"));
    }

    // Each command's options as Tab offers them are those its usage names (and --help, --).
    void completionHasTheParsersOptions_data()
    {
        const auto row = table<QString, QStringList>("command", "options");
        for (const auto &[command, options] : optionsByCommand()) {
            Words expected = options;
            expected.insert({"--help", "--"});
            row(command, command, QStringList(expected.begin(), expected.end()));
        }
    }

    void completionHasTheParsersOptions()
    {
        QTemporaryDir folder;
        QStringList expected = fetched<QStringList>("options");
        expected.sort();
        QCOMPARE(completions({"bitglance-cli", fetched<QString>("command"), "-"}, folder.path()).join(u' '),
                 expected.join(u' '));
    }

    // The manual pages through man, and the validators the desktops and software centres run:
    // errors and warnings both fail.
    void formatsAndValidates_data()
    {
        const auto row = table<QString, QStringList>("program", "arguments");
        for (const char *page : {"bitglance.1", "bitglance-cli.1"})
            row(page, "man",
                {"--warnings", "-E", "UTF-8", "-l", builtFile(QStringLiteral("packaging/%1.gz").arg(page))});
        row("desktop entry", "desktop-file-validate", {sourceFile(QStringLiteral("ui/bitglance.desktop"))});
        row("AppStream metainfo", "appstreamcli",
            {"validate", "--no-net", builtFile(QStringLiteral("packaging/" BITGLANCE_APP_ID ".metainfo.xml"))});
    }

    void formatsAndValidates()
    {
        QFETCH(QString, program);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP("not installed");
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        run.setProcessEnvironment(environment);
        run.start(program, fetched<QStringList>("arguments"));
        QVERIFY(run.waitForFinished(60000));
        const QByteArray out = run.readAllStandardOutput(), err = run.readAllStandardError();
        QVERIFY2(run.exitCode() == 0 && (program != "man" || (err.isEmpty() && out.contains("EXAMPLES"))),
                 (out + err).constData());
    }

    // An installed program runs the tools of its own Tools folder when it has one (the build's
    // links), and the system's otherwise (the package).
    void installedProgramFindsItsTools()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")));
        const QString program = root.filePath(QStringLiteral("bin/bitglance-cli"));
        QVERIFY(QFile::copy(QStringLiteral(BITGLANCE_CLI), program));

        const QString movie = TestMovies::numberedMovie(96, 64, 25, 1);
        QVERIFY(!movie.isEmpty());
        QProcess probe;
        probe.start(program, {"probe", movie});
        QVERIFY(probe.waitForFinished(60000));
        QVERIFY2(probe.exitCode() == 0, probe.readAllStandardError().constData());
        QCOMPARE(QJsonDocument::fromJson(probe.readAllStandardOutput()).object().value("width").toInt(), 96);

        FakeTools fake;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("share/bitglance")));
        QVERIFY(QFile::link(fake.directory(), root.filePath(QStringLiteral("share/bitglance/Tools"))));
        probe.start(program, {"probe", movie});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(QJsonDocument::fromJson(probe.readAllStandardOutput()).object().value("width").toInt(), 1920);
        QCOMPARE(fake.calls(QStringLiteral("ffprobe")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(Packaging)
#include "tst_packaging.moc"
