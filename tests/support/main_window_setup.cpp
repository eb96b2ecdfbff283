#include "support/main_window_setup.h"

#include "model/glance_model.h"
#include "ui/glance_view.h"

#include <QFile>
#include <QScreen>
#include <QTest>

MainWindowSetup::MainWindowSetup(GlanceHelpCommands *help, QScreen *screen)
{
    QFile(film).open(QIODevice::WriteOnly);
    auto *model = new GlanceModel(tools.directory());
    model->setPreviewPauseMs(0);
    weakModel = model;
    window = new GlanceMainWindow(help, model);
    if (screen)
        window->move(screen->geometry().topLeft());
    window->show();
    window->activateWindow(); // its shortcuts need it active
    active = QTest::qWaitForWindowActive(window);
}

MainWindowSetup::~MainWindowSetup()
{
    delete window;
}

GlanceModel *MainWindowSetup::model() const
{
    return window->view()->model();
}

bool MainWindowSetup::idle() const
{
    return QTest::qWaitFor([this] { return !model()->busy(); }, 20000);
}

bool MainWindowSetup::open(double duration)
{
    tools.setProbeJson(FakeTools::defaultProbeJson().replace("100.000000", QString::number(duration, 'f', 6)));
    model()->openMovie(film);
    return idle() && model()->movie();
}
