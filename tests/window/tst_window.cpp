// The main window as a user meets it, driven through its widgets against a model on fake tools:
// its controls, a comparison at work with its verdict, a dropped movie, keeping the comparison, the
// scene buttons, names and values for readers, the keyboard alone, the help window.
#include "engine/movie_path.h"
#include "model/clip_player.h"
#include "support/main_window_setup.h"
#include "support/test_movies.h"
#include "support/text_table.h"
#include "ui/clip_bar.h"
#include "ui/comparison_pane.h"
#include "ui/glance_help_commands.h"
#include "ui/glance_window_reader.h"
#include "ui/scene_strip.h"
#include "ui/text_styles.h"
#include "ui/verdict_label.h"
#include "ui/view_texts.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

const QString kStart = u"Film öffnen und eine Szene auswählen."_s;
using Setup = MainWindowSetup;

class WindowTests : public QObject {
    Q_OBJECT
private slots:
    void controlsFollowTheModel()
    {
        Setup s;
        s.tools.setProbeJson(FakeTools::defaultProbeJson().replace(u"8520000"_s, u"1125000"_s));
        auto *recompute = s.find("recomputeButton");
        QVERIFY(s.active && !s.find("controls")->isEnabled() && s.find("zoomSlider")->isEnabled());
        QVERIFY(!s.find("sourceLine")->isVisible() && !s.find("measurementLabel")->isVisible()
                && !s.find("errorArea")->isVisible());
        QCOMPARE(s.find<QLabel>("statusLabel")->text(), kStart);
        for (const bool choose : {false, true}) { // the file dialog cancelled, then a movie chosen
            QTimer::singleShot(0, s.window, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->nameFilters().contains(u"Matroska (*.mkv)"_s));
                dialog->selectFile(s.movie);
                choose ? static_cast<QDialog *>(dialog)->accept() : dialog->reject();
            });
            // Ctrl+O has one owner, shared by the File menu and the header button.
            choose ? s.find<QPushButton>("openButton")->click()
                   : QTest::keyClick(s.window, Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(s.model()->status(), choose ? u"Videodaten werden gelesen …"_s : kStart);
        }
        // While it is read: both spinners, the controls still disabled.
        QVERIFY(!s.find("controls")->isEnabled() && !recompute->isEnabled());
        QVERIFY(s.find("recomputeSpinner")->isVisible() && s.find("statusSpinner")->isVisible());
        QVERIFY(s.idle() && recompute->isEnabled() && s.find("measurementLabel")->isVisible());
        QCOMPARE(s.find<QLabel>("sourceLine")->text(),
                 u"Quelle: H264 · 1920 × 1080 · 1.12 Mbit/s"_s); // as printf rounds

        s.find<QSlider>("sceneSlider")->setValue(12345);
        QCOMPARE(s.model()->seconds(), 12.345);
        QCOMPARE(s.find<QLabel>("timeLabel")->text(), u"00:00:12"_s);
        QVERIFY(s.model()->busy() && !recompute->isEnabled() && s.find("bitrateSlider")->isEnabled() && s.idle());
        const QList<QPushButton *> presets = s.window->findChildren<QPushButton *>(u"preset"_s);
        presets.at(2)->click();
        QVERIFY(s.model()->mbps() == 3.3 && s.find<QSlider>("bitrateSlider")->value() == 33);
        QCOMPARE(s.find<QLabel>("bitrateLabel")->text(), u"3.3 Mbit/s"_s);
        QVERIFY(s.idle());
        // A height limit labels the menu button and resets zoom and pan.
        auto *menuButton = s.find<QToolButton>("resolutionButton");
        QAction *limit720 = menuButton->menu()->actions().at(2);
        s.model()->setZoom(4);
        s.model()->setPan(QSizeF(30, -10));
        limit720->trigger();
        QVERIFY(s.model()->maxHeight() == 720 && s.model()->zoom() == 1.0 && s.model()->pan().isNull());
        QCOMPARE(menuButton->text(), u"max. 720p"_s);
        QVERIFY(s.idle());
        // The zoom slider and the same values again request nothing; the checked item stays checked.
        QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
        s.find<QSlider>("zoomSlider")->setValue(25);
        QCOMPARE(s.find<QLabel>("zoomLabel")->text(), u"0.2×"_s);
        presets.at(2)->click();
        s.find<QSlider>("bitrateSlider")->setValue(33);
        limit720->trigger();
        QVERIFY(s.model()->zoom() == 0.25 && limit720->isChecked() && requests.isEmpty());
        // While the mouse holds a slider its changes request nothing; the release does, unless the
        // drag ended where it began.
        auto *bitrate = s.find<QSlider>("bitrateSlider");
        for (const int end : {33, 45}) {
            bitrate->setSliderDown(true);
            bitrate->setValue(20);
            bitrate->setValue(end);
            QVERIFY(requests.isEmpty());
            bitrate->setSliderDown(false);
        }
        QVERIFY(requests.size() == 1 && s.model()->mbps() == 4.5 && s.idle());
        const QString folder = s.model()->workDirectory();
        s.window->close(); // and with it the view, the model and the work folder
        QTRY_VERIFY(!s.window && !s.weakModel && !QFileInfo::exists(folder));
    }

    void whileAComparisonIsComputed()
    {
        Setup s;
        QVERIFY(s.open());
        // The next encode reports 30 frames done and then runs until it is ended.
        s.tools.setPrelude(u"ffmpeg"_s,
                           u"case \"$*\" in *libx265*) printf 'frame=30\\nprogress=continue\\n'; sleep 30 ;; esac"_s);
        s.model()->setMbps(3);
        auto *bar = s.find<QProgressBar>("progressBar");
        // The encode alone (the reference clip is reused) fills the bar: 30 of its 75 frames.
        QTRY_VERIFY(bar->isVisible() && bar->value() == 400 && bar->maximum() == 1000);
        QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name), u"Fortschritt"_s);
        QVERIFY(s.find<QLabel>("remainingLabel")->text().startsWith(u"noch ca. "_s));
        auto *encoded = s.find<ComparisonPane>("encodedPane");
        QCOMPARE(encoded->title(), u"HEVC · Vorschau · 2.0 Mbit/s (alt)"_s); // the last comparison, marked
        s.model()->setMbps(2); // back to what is shown: ends that encode, and the cache answers
        QCOMPARE(encoded->title(), u"HEVC · Vorschau"_s);
        QVERIFY(s.idle() && !bar->isVisible() && !s.find("remainingLabel")->isVisible());
        QTRY_COMPARE(s.find<QLabel>("qualityLabel")->text(),
                     u"Ausschnitt: SSIM 0.9510 · PSNR ∞ · Bild: SSIM 0.9026 · PSNR 30.3 dB"_s);
        // Beside the numbers, the verdict in words and in the scene strip's colour.
        auto *verdict = s.find<QLabel>("verdictLabel");
        QVERIFY(verdict->isVisible() && verdict->text().contains(SceneStrip::ssimColour(0.951).name()));
        QCOMPARE(QAccessible::queryAccessibleInterface(verdict)->text(QAccessible::Name),
                 u"Urteil: ausreichend · schlechtestes Bild: SSIM 0.9001"_s);
        // The grades' legend, and the worst frame named.
        for (const QString &part : {u"sichtbare Verluste</td><td>ab SSIM 0.90<"_s, u"<td>darunter<"_s,
                                    u"(Bild 1 von 200) zieht den Ausschnitt"_s})
            QVERIFY2(verdict->toolTip().contains(part), qPrintable(verdict->toolTip()));
        s.tools.setPrelude(u"ffmpeg"_s, u"case \"$*\" in *stats_file=*) sleep 30 ;; esac"_s);
        s.model()->setMbps(4);
        QTRY_VERIFY(!verdict->isVisible()); // while the new comparison is measured
    }

    // The verdict's words: the grade of the clip SSIM, and what pulls the clip down.
    void verdictText_data()
    {
        const auto row = table<double, QList<double>, QString>("clipSsim", "frameSsims", "text");
        row("on the threshold of sehr gut", 0.98, {0.99, 0.975},
            u"Urteil: sehr gut · schlechtestes Bild: SSIM 0.9750"_s);
        row("just below gut", 0.9599, {0.96}, u"Urteil: ausreichend · schlechtestes Bild: SSIM 0.9600"_s);
        row("a scene cut: a good frame shown, a poor clip", 0.778, {0.98, 0.71, 0.93},
            u"Urteil: deutliche Verluste · schlechtestes Bild: SSIM 0.7100"_s);
        row("without every frame's numbers", 0.91, {},
            u"Urteil: sichtbare Verluste · nach SSIM 0.9100 des Ausschnitts"_s);
    }

    void verdictText()
    {
        QualityNumbers quality;
        quality.ssimClip = fetched<double>("clipSsim");
        for (const double ssim : fetched<QList<double>>("frameSsims"))
            quality.frames << FrameQuality{ssim, 30};
        QTEST(VerdictLabel::text(quality), "text");
    }

    // A movie dropped on the window as a URL whose name is not valid UTF-8 opens as its bytes stand.
    void droppedMovieWithAName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("UTF-8") << QByteArray("Urlaub \xc3\xa4.mp4");
        QTest::newRow("Latin-1, not UTF-8") << QByteArray("Urlaub \xe4.mp4");
    }

    void droppedMovieWithAName()
    {
        Setup s;
        const QByteArray path = QFile::encodeName(s.tools.directory()) + '/' + fetched<QByteArray>("name");
        const int file = ::open(path.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(file >= 0);
        ::close(file);
        QMimeData data;
        data.setUrls({QUrl::fromEncoded("file://" + path.toPercentEncoding("/"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(s.window->view(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(s.window->view(), &drop);
        const bool opened = s.idle() && s.model()->movie();
        const QString problem = s.model()->status() + u' ' + s.model()->error().value_or(QString());
        ::unlink(path.constData()); // which QTemporaryDir cannot name
        QVERIFY2(opened, qPrintable(problem));
        QCOMPARE(movieBytes(s.model()->movie()->url), path);
    }

    void keepingTheComparison()
    {
        Setup s;
        const QList<QAction *> actions = s.window->view()->exportActions(); // save, copy, save the clip
        QVERIFY(std::ranges::none_of(actions, &QAction::isEnabled));        // nothing to keep yet
        // ffmpeg "composes" the picture from the reference frame alone here.
        s.tools.setPrelude(u"ffmpeg"_s,
                           u"case \"$*\" in *hstack*) cp \"$DIR/original-frame.png\" \"$LAST\"; exit 0 ;; esac"_s);
        QVERIFY(s.open() && std::ranges::all_of(actions, &QAction::isEnabled));
        // The dialogs suggest a name beside the movie.
        for (const auto &[action, name] : {std::pair(actions.at(0), u"Urlaub 2024-00-00-50-2.0Mbit-Bild26.png"_s),
                                           {actions.at(2), u"Urlaub 2024-00-00-50-2.0Mbit.mp4"_s}}) {
            const QString path = s.tools.directory() + u'/' + name;
            QTimer::singleShot(0, s.window, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog && dialog->selectedFiles() == QStringList{path});
                static_cast<QDialog *>(dialog)->accept();
            });
            action == actions.at(0) ? QTest::keyClick(s.window, Qt::Key_S, Qt::ControlModifier) : action->trigger();
            QTRY_VERIFY(QFileInfo::exists(path));
            // Said in the status row.
            const QString done =
                action == actions.at(0) ? u"Vergleich gespeichert: "_s : u"Kodierter Ausschnitt gespeichert: "_s;
            QTRY_COMPARE(s.model()->notice(), done + path);
            QCOMPARE(QAccessible::queryAccessibleInterface(s.find("noticeLabel"))->text(QAccessible::Name),
                     done + path);
        }
        s.window->activateWindow(); // again, after the dialogs
        QVERIFY(QTest::qWaitForWindowActive(s.window));
        QTest::keyClick(s.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QImage frame(s.tools.directory() + u"/original-frame.png"_s);
        QTRY_COMPARE(QGuiApplication::clipboard()->image().convertToFormat(frame.format()), frame);
        QCOMPARE(s.model()->notice(), u"Vergleich in die Zwischenablage kopiert."_s);
        s.model()->saveEncodedClip(s.tools.directory() + u"/kein Ordner/a.mp4"_s);
        QTRY_VERIFY(s.find("errorArea")->isVisible()); // a failure shows, and no confirmation
        QVERIFY(s.model()->notice().isEmpty());
    }

    // Every frame of the comparison, on playback clips whose frames show their number: the controls'
    // names and keys, the frame line while stepping and while playing, the clip bar's marks and
    // pointer, Home and End.
    void clipControls()
    {
        const QString clip = TestMovies::numberedClip(75);
        if (clip.isEmpty())
            QSKIP("needs the system's ffmpeg with Ut Video");
        Setup s;
        s.tools.useClip(clip);
        QVERIFY(s.open());
        ClipPlayer &player = *s.model()->player();
        QTRY_COMPARE_WITH_TIMEOUT(player.state(), ClipPlayer::State::Ready, 20000);
        const auto name = [](QWidget *control) {
            return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        };
        for (const auto &[object, text] : {std::pair("frameBackButton", u"Bild zurück (,)"_s),
                                           {"playButton", u"Abspielen (P)"_s},
                                           {"frameForwardButton", u"Bild vor (.)"_s},
                                           {"worstFrameButton", u"Schlechtestes Bild (W)"_s}}) {
            auto *button = s.find<QToolButton>(object);
            QVERIFY(button->isEnabled());
            QCOMPARE(button->toolTip(), text);
            QVERIFY(text.startsWith(name(button) + u" ("_s));
        }
        auto *line = s.find<QLabel>("frameLine");
        const auto shown = [&](qint64 n) {
            return QTest::qWaitFor([&] { return s.model()->shownFrame() == n; }, 10000);
        };
        QTest::keyClick(s.window, Qt::Key_Period);
        QVERIFY(shown(26));
        QCOMPARE(line->text(), u"Bild 27 von 75 · 00:00:50.04 · SSIM 0.9027 · PSNR 30.3 dB"_s);
        QCOMPARE(name(line), line->text()); // read out as it stands
        QCOMPARE(QAccessible::queryAccessibleInterface(s.find("clipBar"))->text(QAccessible::Value), line->text());
        QTest::keyClick(s.window, Qt::Key_Comma);
        QVERIFY(shown(25));
        QTest::keyClick(s.window, Qt::Key_P);
        QVERIFY(player.playing() && name(s.find("playButton")) == u"Anhalten"_s);
        QVERIFY(QTest::qWaitFor([&] { return s.model()->shownFrame() > 27; }, 10000));
        const QRegularExpression playing(
            u"^Bild \\d+ von 75 · 00:00:\\d\\d\\.\\d\\d · SSIM 0\\.90\\d\\d · PSNR 30\\.\\d dB$"_s);
        QVERIFY2(playing.match(line->text()).hasMatch(), qPrintable(line->text()));
        QTest::keyClick(s.window, Qt::Key_P);
        QVERIFY(!player.playing() && name(s.find("playButton")) == u"Abspielen"_s);
        // The bar: the worst frame's red mark at frame 0, the scene's mark at frame 25.
        auto *bar = s.find<ClipBar>("clipBar");
        const QImage drawn = bar->grab().toImage();
        const auto markAt = [&](qint64 n) {
            return drawn.pixelColor(int(bar->column(n).center().x()), drawn.height() - 4);
        };
        QCOMPARE(markAt(0), TextStyles::errorRed());
        QCOMPARE(markAt(25), bar->palette().color(QPalette::WindowText));
        QCOMPARE(markAt(50), bar->palette().color(QPalette::Window));
        QTest::keyClick(s.window, Qt::Key_W);
        QVERIFY(shown(0));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->column(40).center().toPoint());
        QVERIFY(shown(40));
        QTest::keyClick(bar, Qt::Key_End);
        QVERIFY(shown(74));
        QTest::keyClick(bar, Qt::Key_Home);
        QVERIFY(shown(0));
    }

    void remainingTime()
    {
        for (const auto &[seconds, text] : {std::pair(3.2, u"noch ca. 4 s"_s),
                                            {0.1, u"noch ca. 1 s"_s},
                                            {59.5, u"noch ca. 1 min"_s},
                                            {150.0, u"noch ca. 3 min"_s}})
            QCOMPARE(ViewTexts::remaining(seconds), text);
    }

    void sceneButtonsKeepWithinTheMovie_data()
    {
        const auto row =
            table<double, double, QString, double, int>("duration", "start", "button", "expected", "sliderEnd");
        row("30 s: +1 s near the end", 30, 29.5, "forwardButton", 29.9, 29900);
        row("30 s: +1 s at the end", 30, 29.9, "forwardButton", 29.9, 29900);
        row("30 s: −1 s near the start", 30, 0.4, "backButton", 0, 29900);
        row("30 s: −1 s at 0", 30, 0, "backButton", 0, 29900);
        row("0.5 s: slider to 1 s, +1 s stops at 0.4", 0.5, 0, "forwardButton", 0.4, 1000);
    }

    void sceneButtonsKeepWithinTheMovie()
    {
        QFETCH(double, start);
        QFETCH(double, expected);
        Setup s;
        QVERIFY(s.open(fetched<double>("duration")));
        QTEST(s.find<QSlider>("sceneSlider")->maximum(), "sliderEnd");
        s.model()->setSeconds(start);
        QVERIFY(s.idle());
        QSignalSpy requests(s.model(), &GlanceModel::busyChanged);
        s.window->findChild<QPushButton *>(fetched<QString>("button"))->click();
        QCOMPARE(s.model()->seconds(), expected);
        QCOMPARE(requests.isEmpty(), expected == start); // a press that leaves the time as it is asks for nothing
    }

    // What a screen reader says: the sliders' values as their labels show them, the resolution's
    // value, the views as radio buttons, the logo and the chart by name.
    void screenReaderNamesAndValues()
    {
        Setup s;
        QVERIFY(s.open());
        const auto said = [&](const char *object, QAccessible::Text text = QAccessible::Value) {
            return QAccessible::queryAccessibleInterface(s.find(object))->text(text);
        };
        s.find<QSlider>("sceneSlider")->setValue(21000);
        s.model()->setMbps(0.3);
        QCOMPARE(said("sceneSlider"), u"00:00:21"_s);
        QCOMPARE(said("bitrateSlider"), u"0.3 Mbit/s"_s);
        QCOMPARE(said("zoomSlider"), u"1.0×"_s);
        QCOMPARE(said("sceneSlider", QAccessible::Name), u"Szene"_s);
        QCOMPARE(said("resolutionButton", QAccessible::Name), u"Auflösung: Quelle"_s);
        s.model()->setMaxHeight(720);
        QCOMPARE(said("resolutionButton", QAccessible::Name), u"Auflösung: max. 720p"_s);
        for (const auto &[pane, name] : {std::pair("originalPane", u"Original"_s), {"encodedPane", u"HEVC-Vorschau"_s}})
            QCOMPARE(said(pane, QAccessible::Name), name);
        // The views: radio buttons, the one shown checked; a press chooses one.
        const QList<QPushButton *> views = s.window->findChildren<QPushButton *>(u"viewButton"_s);
        QCOMPARE(views.size(), 4);
        for (QPushButton *view : views) {
            QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(view);
            QVERIFY(reader->role() == QAccessible::RadioButton && reader->state().checkable);
            QCOMPARE(reader->state().checked, view == views.first());
        }
        QAccessibleInterface *split = QAccessible::queryAccessibleInterface(views.at(2));
        split->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(s.model()->view() == GlanceModel::ComparisonView::Split && split->state().checked);
        const auto named = [&](const QString &name) {
            return std::ranges::any_of(s.window->findChildren<QWidget *>(), [&](QWidget *w) {
                return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) == name;
            });
        };
        QVERIFY(named(u"Bitglance-Logo"_s) && named(u"Qualität über Bitrate"_s));
    }

    // The window without a mouse: Tab visits named controls (every button and slider) row by row from the top; a
    // focused pane shows a frame and its arrow keys move the pictures; the scan and the finder have keys.
    void keyboardOnly()
    {
        Setup s;
        QVERIFY(s.open());
        s.find("openButton")->setFocus();
        QList<QWidget *> stops;
        while (stops.size() < 100 && !stops.contains(QApplication::focusWidget())) {
            stops << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), stops.first()); // round once
        QStringList order;
        for (qsizetype i = 0; i < stops.size(); ++i) {
            QWidget *stop = stops.at(i);
            const QString name = QAccessible::queryAccessibleInterface(stop)->text(QAccessible::Name);
            order << QString::fromLatin1(stop->metaObject()->className()) + u' ' + name;
            QVERIFY2(stop->isVisible() && !name.isEmpty(), qPrintable(order.join(u", ")));
            if (i > 0) { // never back up to an earlier row
                const QRect before(stops.at(i - 1)->mapTo(s.window, QPoint()), stops.at(i - 1)->size());
                QVERIFY2(stop->mapTo(s.window, QPoint()).y() + stop->height() / 2 >= before.top(),
                         qPrintable(order.join(u", ")));
            }
        }
        auto *pane = s.find<ComparisonPane>("originalPane");
        QVERIFY(stops.contains(pane));
        const auto frameColour = [&] { return pane->grab().toImage().pixelColor(1, pane->height() / 2); };
        const QColor highlight = pane->palette().color(QPalette::Highlight);
        pane->setFocus();
        QCOMPARE(frameColour(), highlight);
        const double step = pane->imageArea().width() / 10;
        QTest::keyClick(pane, Qt::Key_Right);
        QTest::keyClick(pane, Qt::Key_Down);
        QCOMPARE(s.model()->pan(), QSizeF(-step, -pane->imageArea().height() / 10));
        QTest::keyClick(pane, Qt::Key_Left);
        QCOMPARE(s.model()->pan().width(), 0.0);
        s.find("openButton")->setFocus();
        QVERIFY(frameColour() != highlight);
        // Ctrl+B asks for the finder's target, Ctrl+P starts the scan.
        bool asked = false;
        QTimer closer; // the key clicks the button a moment later
        connect(&closer, &QTimer::timeout, s.window, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                asked = dialog->windowTitle() == u"Bitrate finden"_s, dialog->reject();
        });
        closer.start(10);
        QTest::keyClick(s.window, Qt::Key_B, Qt::ControlModifier);
        QTRY_VERIFY(asked);
        closer.stop();
        s.window->activateWindow(); // again, after the dialog
        QVERIFY(QTest::qWaitForWindowActive(s.window));
        QTest::keyClick(s.window, Qt::Key_P, Qt::ControlModifier);
        QTRY_VERIFY(s.find("scanProgress")->isVisible());
        s.find<QPushButton>("scanCancelButton")->click();
        QTRY_VERIFY(!s.find("scanProgress")->isVisible());
    }

    void oneHelpWindow()
    {
        GlanceHelpCommands help;
        Setup s(&help);
        help.action()->trigger();
        help.action()->trigger();
        QPointer<GlanceHelpView> first = help.window();
        const auto isHelp = [](QWidget *window) { return qobject_cast<GlanceHelpView *>(window) != nullptr; };
        QVERIFY(first && first->isVisible() && std::ranges::count_if(QApplication::topLevelWidgets(), isHelp) == 1);
        // The verdict's grades as their one table gives them, in the prose's decimal comma.
        const QString grades = u"Ausschnitts: „sehr gut“ ab 0,98, „gut“ ab 0,96, „ausreichend“ ab 0,94, "
                               "„sichtbare Verluste“ ab 0,90, „deutliche Verluste“ darunter. Dieselben"_s;
        QVERIFY(std::ranges::any_of(first->findChildren<QLabel *>(),
                                    [&](QLabel *l) { return l->text().contains(grades); }));
        QVERIFY(QTest::qWaitForWindowActive(first));
        QTest::keyClick(first, Qt::Key_Escape); // closed, it is made anew on the next request
        QTRY_VERIFY(!first);
        help.action()->trigger();
        QVERIFY(help.window() && help.window()->isVisible() && QTest::qWaitForWindowActive(help.window()));
        QTest::keyClick(help.window(), Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY(!help.window());
    }

    void windowReaderReportsLater()
    {
        QWidget window;
        auto *view = new QWidget;
        QList<QWidget *> reported;
        new GlanceWindowReader(view, [&](QWidget *w) { reported += w; });
        view->setParent(&window); // put in and taken out: both reports, in order, none at once
        view->setParent(nullptr);
        QVERIFY(reported.isEmpty());
        QTRY_COMPARE(reported, (QList<QWidget *>{&window, nullptr}));
        view->setParent(&window);
        delete view; // destroyed before its report is delivered: no report
        QCoreApplication::processEvents();
        QCOMPARE(reported.size(), 2);
    }
};

QTEST_MAIN(WindowTests)
#include "tst_window.moc"
