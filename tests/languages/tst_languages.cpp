// The language of the program's texts: chosen from the environment as POSIX programs choose theirs,
// the command line's and the window's texts in German and in English, and an English text for every
// text the sources wrap.

#include "engine/text_language.h"
#include "support/cli_run.h"
#include "support/fake_tools.h"
#include "support/main_window_setup.h"
#include "support/text_table.h"
#include "ui/glance_help_commands.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using Language = TextLanguage::Language;

class Languages : public QObject {
    Q_OBJECT

private slots:
    void chosenFromTheEnvironment_data()
    {
        const auto row = table<QString, QString, QString, QString, Language>("LANGUAGE", "LC_ALL", "LC_MESSAGES",
                                                                             "LANG", "language");
        row("nothing set", "", "", "", "", Language::German);
        row("English", "", "", "", "en_US.UTF-8", Language::English);
        row("English, language only", "", "", "", "en", Language::English);
        row("British English", "", "", "", "en_GB.UTF-8", Language::English);
        row("German", "", "", "", "de_DE.UTF-8", Language::German);
        row("French", "", "", "", "fr_FR.UTF-8", Language::German);
        row("C ignores LANGUAGE", "en", "", "", "C", Language::German);
        row("C.UTF-8 ignores LANGUAGE", "en", "", "", "C.UTF-8", Language::German);
        row("POSIX", "", "", "", "POSIX", Language::German);
        row("LC_ALL before LANG", "", "de_DE.UTF-8", "", "en_US.UTF-8", Language::German);
        row("LC_ALL before LC_MESSAGES", "", "en_US.UTF-8", "de_DE.UTF-8", "", Language::English);
        row("LC_MESSAGES before LANG", "", "", "en_GB.UTF-8", "de_DE.UTF-8", Language::English);
        row("LC_ALL of C ignores LANGUAGE", "en", "C", "", "en_US.UTF-8", Language::German);
        row("LANGUAGE before the locale", "en:de", "", "", "de_DE.UTF-8", Language::English);
        row("LANGUAGE German first", "de:en", "", "", "en_US.UTF-8", Language::German);
        row("LANGUAGE passes over others", "fr:en_GB", "", "", "de_DE.UTF-8", Language::English);
    }

    void chosenFromTheEnvironment()
    {
        QCOMPARE(TextLanguage::choose(fetched<QString>("LANGUAGE"), fetched<QString>("LC_ALL"),
                                      fetched<QString>("LC_MESSAGES"), fetched<QString>("LANG")),
                 fetched<Language>("language"));
    }

    void texts_data()
    {
        // Environment variables as NAME=VALUE; the texts of a render line and a failure of the
        // command line; the window's menus, two buttons, the help's title and first heading, and Qt's Cancel.
        const auto row = table<QStringList, QStringList, QStringList>("environment", "commandLine", "window");
        const QStringList german{"1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s",
                                 "Vergleich bei 00:00:50 · 3.0 s wirklich kodiert",
                                 "FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.\n"};
        const QStringList english{"1920 × 1080 · target 2.00 Mbit/s · measured 2.37 Mbit/s",
                                  "Comparison at 00:00:50 · 3.0 s actually encoded",
                                  "FFmpeg/ffprobe are missing. Please build Bitglance with build.sh.\n"};
        const QStringList germanWindow{"&Datei",        "&Hilfe",          "Film öffnen …",
                                       "Szenen prüfen", "Bitglance-Hilfe", "1. Film und Szene auswählen",
                                       "Abbrechen"};
        const QStringList englishWindow{
            "&File", "&Help", "Open film…", "Check scenes", "Bitglance Help", "1. Choose a film and a scene", "Cancel"};
        row("en_US", {"LANG=en_US.UTF-8"}, english, englishWindow);
        row("de_DE", {"LANG=de_DE.UTF-8"}, german, germanWindow);
        row("C", {"LANG=C"}, german, germanWindow);
        row("LANGUAGE en:de", {"LANG=de_DE.UTF-8", "LANGUAGE=en:de"}, english, englishWindow);
    }

    void texts()
    {
        FakeTools tools;
        CliRun cli;
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            cli.environment.remove(QString::fromLatin1(name));
            qunsetenv(name);
        }
        for (const QString &variable : fetched<QStringList>("environment")) {
            cli.environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
            qputenv(variable.section('=', 0, 0).toLatin1().constData(), variable.section('=', 1).toUtf8());
        }
        const CliRun::Outcome rendered =
            cli.run({"render", "--tools", tools.directory(), "film.mp4", "--seconds", "50", "--mbps", "2"});
        const QJsonObject line = CliRun::jsonLines(rendered.out).value(0);
        const CliRun::Outcome failed = cli.run({"probe", "--tools", cli.movies.path(), "film.mp4"});
        QVERIFY(rendered.status == 0 && failed.status == 1);
        QCOMPARE((QStringList{line.value("measurement").toString(), line.value("status").toString(), failed.err}),
                 fetched<QStringList>("commandLine"));

        const TextLanguage language(TextLanguage::QtTexts::With);
        GlanceHelpCommands help;
        MainWindowSetup s(&help);
        help.showHelp();
        const QList<QLabel *> labels = help.window()->findChildren<QLabel *>();
        const auto heading =
            std::ranges::find_if(labels, [](QLabel *label) { return label->text().startsWith("1. "); });
        QVERIFY(heading != labels.end());
        QStringList window;
        for (const QAction *menu : s.window->menuBar()->actions())
            window << menu->text();
        window << s.find<QPushButton>("openButton")->text() << s.find<QPushButton>("scanButton")->text()
               << help.window()->windowTitle() << (*heading)->text()
               << QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
        QCOMPARE(window, fetched<QStringList>("window"));
    }

    // lupdate finds no text in the sources without its English, and nothing else to say.
    void everyTextHasItsEnglish()
    {
        QTemporaryDir folder;
        const QString ts = folder.path() + "/bitglance_en.ts";
        QVERIFY(QFile::copy(BITGLANCE_SOURCE_DIR "/translations/bitglance_en.ts", ts));
        QProcess lupdate;
        lupdate.setWorkingDirectory(BITGLANCE_SOURCE_DIR);
        lupdate.start(BITGLANCE_LUPDATE,
                      {"-silent", "-no-obsolete", "-locations", "none", "-source-language", "de", "-I", ".",
                       "-extensions", "cpp,h", "engine", "analysis", "cli", "model", "ui", "-ts", ts});
        QVERIFY(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0);
        QCOMPARE(QString::fromUtf8(lupdate.readAllStandardError()), QString());
        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(!text.contains("type=\"unfinished\""),
                 qPrintable(text.mid(text.indexOf("type=\"unfinished\"") - 300, 300)));
    }
};

QTEST_MAIN(Languages)
#include "tst_languages.moc"
