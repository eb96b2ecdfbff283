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

    void commandLineTexts_data()
    {
        // Environment variables as NAME=VALUE, then the texts of a render line and a failure.
        const auto row = table<QStringList, QString, QString, QString>("environment", "measurement", "status", "error");
        const QString germanMeasurement = "1920 × 1080 · Ziel 2.00 Mbit/s · gemessen 2.37 Mbit/s";
        const QString germanStatus = "Vergleich bei 00:00:50 · 3.0 s wirklich kodiert";
        const QString germanError = "FFmpeg/ffprobe fehlen. Bitte Bitglance mit build.sh bauen.\n";
        const QString englishMeasurement = "1920 × 1080 · target 2.00 Mbit/s · measured 2.37 Mbit/s";
        const QString englishStatus = "Comparison at 00:00:50 · 3.0 s actually encoded";
        const QString englishError = "FFmpeg/ffprobe are missing. Please build Bitglance with build.sh.\n";
        row("en_US", {"LANG=en_US.UTF-8"}, englishMeasurement, englishStatus, englishError);
        row("de_DE", {"LANG=de_DE.UTF-8"}, germanMeasurement, germanStatus, germanError);
        row("C", {"LANG=C"}, germanMeasurement, germanStatus, germanError);
        row("LANGUAGE en:de", {"LANG=de_DE.UTF-8", "LANGUAGE=en:de"}, englishMeasurement, englishStatus, englishError);
    }

    void commandLineTexts()
    {
        FakeTools tools;
        CliRun cli;
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            cli.environment.remove(QString::fromLatin1(name));
        for (const QString &variable : fetched<QStringList>("environment"))
            cli.environment.insert(variable.section('=', 0, 0), variable.section('=', 1));

        const CliRun::Outcome rendered =
            cli.run({"render", "--tools", tools.directory(), "film.mp4", "--seconds", "50", "--mbps", "2"});
        QCOMPARE(rendered.status, 0);
        const QJsonObject line = CliRun::jsonLines(rendered.out).value(0);
        QCOMPARE(line.value("measurement").toString(), fetched<QString>("measurement"));
        QCOMPARE(line.value("status").toString(), fetched<QString>("status"));

        const CliRun::Outcome failed = cli.run({"probe", "--tools", cli.movies.path(), "film.mp4"});
        QCOMPARE(failed.status, 1);
        QCOMPARE(failed.err, fetched<QString>("error"));
    }

    void windowTexts_data()
    {
        // LANG, then the menus, two buttons, a help heading and a button of Qt's own dialogs.
        const auto row =
            table<QString, QStringList, QStringList, QString, QString>("LANG", "menus", "buttons", "help", "qt");
        const QStringList germanButtons{"Film öffnen …", "Szenen prüfen"};
        row("en_US", "en_US.UTF-8", {"&File", "&Help"}, {"Open film…", "Check scenes"}, "1. Choose a film and a scene", "Cancel");
        row("de_DE", "de_DE.UTF-8", {"&Datei", "&Hilfe"}, germanButtons, "1. Film und Szene auswählen", "Abbrechen");
        row("C", "C", {"&Datei", "&Hilfe"}, germanButtons, "1. Film und Szene auswählen", "Abbrechen");
    }

    void windowTexts()
    {
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            qunsetenv(name);
        qputenv("LANG", fetched<QString>("LANG").toUtf8());
        const TextLanguage language(TextLanguage::QtTexts::With);
        GlanceHelpCommands help;
        MainWindowSetup s(&help);

        QStringList menus;
        for (const QAction *menu : s.window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, fetched<QStringList>("menus"));
        QCOMPARE(
            (QStringList{s.find<QPushButton>("openButton")->text(), s.find<QPushButton>("scanButton")->text()}),
            fetched<QStringList>("buttons"));
        help.showHelp();
        QStringList shown;
        for (const QLabel *label : help.window()->findChildren<QLabel *>())
            shown << label->text();
        QVERIFY2(shown.join('\n').contains(fetched<QString>("help")), qPrintable(shown.join('\n').left(300)));
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
                 fetched<QString>("qt"));
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
