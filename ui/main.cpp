#include "engine/film_path.h"
#include "ui/app_icons.h"
#include "ui/glance_help_commands.h"
#include "ui/glance_main_window.h"
#include "model/glance_model.h"
#include "ui/glance_view.h"
#include "engine/preview_engine.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLibraryInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// SIGTERM, SIGINT and SIGHUP end the program the way "Beenden" does, so that the work folder is
// removed on a logout or a Ctrl+C in the terminal as well. The handler only writes a byte; the
// event loop does the rest.
int signalSockets[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[1], &byte, 1);
}

void quitOnTerminationSignals(QObject *context)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) {
        qWarning("bitglance: no socket pair for termination signals; they end the program at once");
        return;
    }
    auto *notifier = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] {
        char byte;
        [[maybe_unused]] const ssize_t got = ::read(signalSockets[0], &byte, 1);
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bitglance"));
    QApplication::setDesktopFileName(QStringLiteral("bitglance"));
    QApplication::setWindowIcon(AppIcons::application());
    quitOnTerminationSignals(&app);

    // The program speaks German whatever the locale; Qt's own dialogs and menus should as well.
    // Without Qt's translations installed they stay in English.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    int result = 0;
    {
        GlanceHelpCommands help;
        QPointer<GlanceMainWindow> window = new GlanceMainWindow(&help);
        window->show();
        // Watched without keeping it alive, for the clean-up at exit.
        const std::weak_ptr<GlanceModel> model = window->view()->model()->weak_from_this();

        // bitglance [--] FILM opens FILM once the window is up; "--" lets a name start with a dash.
        // The name is taken as the bytes it holds (QApplication has removed its own options from
        // argv), so that one that is not valid UTF-8 opens all the same.
        QList<QByteArray> arguments;
        for (int i = 1; i < argc; ++i)
            arguments << QByteArray(argv[i]);
        if (!arguments.isEmpty() && arguments.first() == "--")
            arguments.removeFirst();
        if (!arguments.isEmpty()) {
            const QUrl film = filmUrl(arguments.first());
            QTimer::singleShot(0, window, [window, film] { window->view()->model()->openMovie(film); });
        }

        result = QApplication::exec();
        delete window; // still there when the loop was left without closing it

        // A job still running holds its model and engine, and with them the work folder. Cancel
        // it (a job in its pause ends at once) and stop the tool it waits for, so that the folder
        // is gone when the program is.
        if (const std::shared_ptr<GlanceModel> running = model.lock())
            running->cancelCurrentJob();
    }
    PreviewEngine::abortAllRunningTools();
    const QDeadlineTimer deadline(5000);
    while (PreviewEngine::liveCount() > 0 && !deadline.hasExpired()) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return result;
}
