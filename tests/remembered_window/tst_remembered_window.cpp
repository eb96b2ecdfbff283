// The main window with what it remembers between runs: the films opened last under "Zuletzt
// geöffnet", the file dialog's folder, and the window's size, bitrate, height limit and view, taken
// up when it opens and kept when it closes. Settings and results live in the test's own folders.
#include "engine/encoder_catalogue.h"
#include "model/film_memory.h"
#include "model/user_settings.h"
#include "support/main_window_setup.h"
#include "support/text_table.h"
#include "ui/recent_films_menu.h"

#include <QAccessible>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

struct Remembered {
    QTemporaryDir folder;
    QString fileName = folder.filePath(u"bitglance.conf"_s);
    std::unique_ptr<UserSettings> settings = std::make_unique<UserSettings>(fileName);
    FilmMemory films{folder.filePath(u"cache"_s)};
};

class RememberedWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void recentFilmsMenu()
    {
        Remembered memory;
        Setup s;
        // Twelve films opened, the last one first; every third no longer there.
        QStringList names;
        for (int i = 1; i <= 12; ++i) {
            const QString path = s.tools.directory() + u"/Film %1 & Ton.mp4"_s.arg(i);
            if (i % 3 != 0)
                QFile(path).open(QIODevice::WriteOnly);
            memory.settings->addRecentFilm(QUrl::fromLocalFile(path));
            names.prepend(QFileInfo(path).fileName());
        }
        s.window->remember(memory.settings.get(), &memory.films);
        auto *menu = s.find<RecentFilmsMenu>("recentFilmsMenu");
        QVERIFY(menu && menu->menuAction()->isEnabled());
        QCOMPARE(s.window->menuBar()->actions().constFirst()->menu()->actions().at(1), menu->menuAction());
        emit menu->aboutToShow();
        const QList<QAction *> entries = menu->actions().first(10);
        QCOMPARE(menu->actions().at(10)->isSeparator(), true);
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; i < 10; ++i) {
            const int film = 12 - i;
            const bool there = film % 3 != 0;
            QCOMPARE(entries[i]->isEnabled(), there);
            QCOMPARE(reader->child(i)->text(QAccessible::Name), u"%1 %2"_s.arg((i + 1) % 10).arg(names[i]));
            QCOMPARE(reader->child(i)->state().disabled, !there);
            QCOMPARE(entries[i]->toolTip().startsWith(u"Nicht mehr vorhanden: "_s), !there);
        }
        // Chosen: opened, and first in the list from then on.
        entries[1]->trigger();
        QVERIFY(s.idle() && s.model()->movie());
        QCOMPARE(s.model()->movie()->url.fileName(), names[1]);
        QCOMPARE(memory.settings->recentFilms().constFirst().fileName(), names[1]);
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().constFirst()->text(), u"&1 "_s + QString(names[1]).replace(u"&"_s, u"&&"_s));
        // Emptied: the menu goes grey.
        menu->actions().constLast()->trigger();
        QVERIFY(memory.settings->recentFilms().isEmpty() && !menu->menuAction()->isEnabled());
    }

    void dialogOpensWhereItWasLeft()
    {
        Remembered memory;
        Setup s;
        s.window->remember(memory.settings.get(), &memory.films);
        QFile(s.movie).open(QIODevice::WriteOnly);
        QString shownIn;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, s.window, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                shownIn = dialog->directory().absolutePath();
                dialog->selectFile(s.movie);
                static_cast<QDialog *>(dialog)->accept();
            });
            s.find<QPushButton>("openButton")->click();
            QVERIFY(s.idle());
        }
        QCOMPARE(shownIn, QFileInfo(s.movie).absolutePath());
    }

    void windowTakesUpItsSettings_data()
    {
        // Stored settings (an INI text), and the window as it opens: bitrate label, resolution
        // menu, view, encoder setting, content size.
        const auto row = table<QString, QString, QString, int, QString, QSize>("stored", "bitrate", "resolution",
                                                                               "view", "encoder", "size");
        row("nothing stored: the first window", "", "2.0 Mbit/s", "Quelle", 0, "HEVC / x265", QSize(1400, 900));
        row("as it was left",
            "[comparison]\nmbps=3.3\nmaxHeight=720\nview=Split\nencoder=x264/slow/10\n[window]\nsize=@Size(1200 800)\n",
            "3.3 Mbit/s", "max. 720p", int(GlanceModel::ComparisonView::Split), "H.264 / x264 slow · 10 bit",
            QSize(1200, 800));
        row("left on a larger screen", "[window]\nsize=@Size(3000 2000)\n", "2.0 Mbit/s", "Quelle", 0, "HEVC / x265",
            QSize());
    }

    void windowTakesUpItsSettings()
    {
        QFETCH(QString, stored);
        QFETCH(QSize, size);
        Remembered memory;
        QFile file(memory.fileName);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(stored.toLatin1()) == stored.size());
        file.close();
        memory.settings = std::make_unique<UserSettings>(memory.fileName);
        FakeTools tools;
        QPointer<MainWindow> window = new MainWindow(nullptr, new GlanceModel(tools.directory()));
        window->remember(memory.settings.get(), &memory.films);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->findChild<QLabel *>("bitrateLabel")->text(), fetched<QString>("bitrate"));
        QCOMPARE(window->findChild<QToolButton *>("resolutionButton")->text(), fetched<QString>("resolution"));
        QCOMPARE(int(window->view()->model()->view()), fetched<int>("view"));
        QCOMPARE(EncoderCatalogue::settingText(window->view()->model()->encoder()), fetched<QString>("encoder"));
        const QRect usable = window->screen()->availableGeometry();
        const int menu = window->menuBar()->height();
        if (size.isValid())
            QCOMPARE(window->size(), size + QSize(0, stored.isEmpty() ? menu : 0));
        else // on the window's screen, whole
            QTRY_VERIFY(usable.contains(window->frameGeometry()));

        // What changes is kept, the window's size when it closes.
        window->view()->model()->setMbps(5.5);
        window->view()->model()->setView(GlanceModel::ComparisonView::Difference);
        window->view()->model()->setEncoder(EncoderCatalogue::defaultSetting(VideoEncoder::SvtAv1));
        window->resize(1250, 850);
        QTRY_COMPARE(window->size(), QSize(1250, 850));
        window->close();
        QTRY_VERIFY(!window);
        memory.settings.reset();
        const UserSettings again(memory.fileName);
        QCOMPARE(again.mbps(), 5.5);
        QCOMPARE(again.view(), GlanceModel::ComparisonView::Difference);
        QCOMPARE(again.encoder(), EncoderCatalogue::defaultSetting(VideoEncoder::SvtAv1));
        QCOMPARE(again.windowSize(), QSize(1250, 850));
    }

private:
    using Setup = MainWindowSetup;
};

QTEST_MAIN(RememberedWindow)
#include "tst_remembered_window.moc"
