#include "app_icons.h"
#include "glance_help_commands.h"
#include "glance_main_window.h"
#include "glance_model.h"
#include "glance_view.h"
#include "preview_engine.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bitglance"));
    QApplication::setDesktopFileName(QStringLiteral("bitglance"));
    QApplication::setWindowIcon(AppIcons::application());

    int result = 0;
    {
        GlanceHelpCommands help;
        QPointer<GlanceMainWindow> window = new GlanceMainWindow(&help);
        window->show();

        // bitglance FILM opens FILM once the window is up.
        const QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1) {
            const QString film = QFileInfo(arguments.at(1)).absoluteFilePath();
            QTimer::singleShot(0, window, [window, film] { window->view()->model()->openMovie(film); });
        }

        result = QApplication::exec();
        delete window;   // still there when the loop was left without closing it
    }

    // A job still running holds its model and engine, and with them the work folder. Stop the
    // tool it waits for and let the job end, so that the folder is gone when the program is.
    PreviewEngine::abortAllRunningTools();
    const QDeadlineTimer deadline(5000);
    while (PreviewEngine::liveCount() > 0 && !deadline.hasExpired()) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return result;
}
