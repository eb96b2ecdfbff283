#include "engine/movie_path.h"
#include "engine/preview_engine.h"
#include "engine/text_language.h"
#include "model/encoder_offer.h"
#include "model/film_memory.h"
#include "model/glance_model.h"
#include "model/user_settings.h"
#include "ui/app_icons.h"
#include "ui/glance_help_commands.h"
#include "ui/glance_view.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

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

    // English where the environment asks for it, German otherwise; Qt's own dialogs and menus
    // follow (without Qt's translations installed they stay in English).
    const TextLanguage language(TextLanguage::QtTexts::With);

    int result = 0;
    {
        // What the window remembers between runs; only the program reads it, never its tests.
        UserSettings settings;
        FilmMemory films(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
        GlanceHelpCommands help;
        QPointer<MainWindow> window = new MainWindow(&help);
        window->remember(&settings, &films);
        window->show();
        // Whether a graphics card encodes here, tried in the background once the window is up.
        QTimer::singleShot(
            0, window, [window] { window->view()->encoderOffer()->testCards(PreviewEngine::defaultToolsDirectory()); });

        // bitglance [--] FILM opens FILM once the window is up; "--" lets a name start with a dash.
        // The name is taken as the bytes it holds (QApplication has removed its own options from
        // argv), so that one that is not valid UTF-8 opens all the same.
        QList<QByteArray> arguments;
        for (int i = 1; i < argc; ++i)
            arguments << QByteArray(argv[i]);
        if (!arguments.isEmpty() && arguments.first() == "--")
            arguments.removeFirst();
        if (!arguments.isEmpty()) {
            const QUrl movie = movieUrl(arguments.first());
            QTimer::singleShot(0, window, [window, movie] { window->view()->model()->openMovie(movie); });
        }

        result = QApplication::exec();
        // Closed, the window has deleted itself later; still open, it goes now. Either way its
        // model cancels the running job, which lets go of the engine once the engine answers.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete window;
    }
    // The tools still running end at once; the jobs let go of their engines, and the work folders
    // are gone before the program is.
    PreviewEngine::abortAllRunningTools();
    PreviewEngine::waitForAll(QDeadlineTimer(5000));
    return result;
}
