#pragma once

#include "model/glance_model.h"
#include "support/fake_tools.h"
#include "ui/glance_view.h"
#include "ui/main_window.h"

#include <QPointer>
#include <QScreen>
#include <QTest>

// One main window on fake tools, and a movie file for it to open.
struct MainWindowSetup {
    FakeTools tools;
    QPointer<GlanceModel> weakModel;
    QPointer<MainWindow> window;
    bool active = false;
    QString movie = tools.directory() + QStringLiteral("/Urlaub 2024.mp4");

    // On the given screen of the test's screens (support/screens.json), the primary one without.
    explicit MainWindowSetup(GlanceHelpCommands *help = nullptr, QScreen *screen = nullptr)
    {
        QFile(movie).open(QIODevice::WriteOnly);
        auto *model = new GlanceModel(tools.directory());
        model->setComparisonPauseMs(0);
        weakModel = model;
        window = new MainWindow(help, model);
        if (screen)
            window->move(screen->geometry().topLeft());
        window->show();
        window->activateWindow(); // its shortcuts need it active
        active = QTest::qWaitForWindowActive(window);
    }
    ~MainWindowSetup() { delete window; }
    GlanceModel *model() const { return window->view()->model(); }
    template <typename T = QWidget> T *find(const char *name) const { return window->findChild<T *>(name); }
    bool idle() const
    {
        return QTest::qWaitFor([this] { return !model()->busy(); }, 20000);
    }
    // Opens a movie of the given length and waits until its first comparison is shown.
    bool open(double duration = 100)
    {
        tools.setProbeJson(FakeTools::defaultProbeJson().replace("100.000000", QString::number(duration, 'f', 6)));
        model()->openMovie(movie);
        return idle() && model()->movie();
    }
};
