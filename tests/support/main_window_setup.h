#pragma once

#include "support/fake_tools.h"
#include "ui/glance_main_window.h"

#include <QPointer>
#include <QString>

class GlanceHelpCommands;
class GlanceModel;
class QScreen;

// One main window on fake tools, and a film file for it to open.
struct MainWindowSetup {
    FakeTools tools;
    QPointer<GlanceModel> weakModel;
    QPointer<GlanceMainWindow> window;
    bool active = false;
    QString film = tools.directory() + QStringLiteral("/Urlaub 2024.mp4");

    // On the given screen of the test's screens (support/screens.json), the primary one without.
    explicit MainWindowSetup(GlanceHelpCommands *help = nullptr, QScreen *screen = nullptr);
    ~MainWindowSetup();
    GlanceModel *model() const;
    template <typename T = QWidget> T *find(const char *name) const { return window->findChild<T *>(name); }
    bool idle() const;
    // Opens a film of the given length and waits until its first comparison is shown.
    bool open(double duration = 100);
};
