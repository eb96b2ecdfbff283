#include "ui/main_window.h"

#include "engine/comparison_limits.h"
#include "model/glance_model.h"
#include "model/scan_memory.h"
#include "model/scan_model.h"
#include "model/user_settings.h"
#include "ui/app_icons.h"
#include "ui/glance_help_commands.h"
#include "ui/glance_view.h"
#include "ui/recent_films_menu.h"
#include "ui/scan_panel.h"

#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>

MainWindow::MainWindow(GlanceHelpCommands *help, GlanceModel *model, QWidget *parent)
    : QMainWindow(parent), view_(new GlanceView(model))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Bitglance"));
    setWindowIcon(AppIcons::application());

    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("viewScrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus); // no stop of its own between the controls it holds
    scroll->horizontalScrollBar()->setAccessibleName(tr("Fensterinhalt waagrecht verschieben"));
    scroll->verticalScrollBar()->setAccessibleName(tr("Fensterinhalt senkrecht verschieben"));
    setCentralWidget(scroll);
    // Into the window last: the view's window reader reports the window it is in at that moment.
    scroll->setWidget(view_);

    QMenu *file = fileMenu_ = menuBar()->addMenu(tr("&Datei"));
    file->addAction(view_->openAction());
    file->addSeparator();
    file->addActions(view_->exportActions());
    file->addAction(view_->copyCommandAction());
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Beenden"), qApp, &QApplication::closeAllWindows);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *helpMenu = menuBar()->addMenu(tr("&Hilfe"));
    if (help)
        help->addTo(helpMenu);

    fitMinimumToScreen(screen());
    const QSize content =
        QSize(ComparisonLimits::firstWindowWidth, ComparisonLimits::firstWindowHeight).boundedTo(room(screen()));
    resize(content.width(), content.height() + menuBar()->sizeHint().height());
}

QSize MainWindow::room(QScreen *screen) const
{
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The frame is known once the window is shown; before that it counts as none.
    const QSize frame = frameGeometry().size() - geometry().size();
    return screen->availableGeometry().size() - frame - QSize(0, menuBar()->sizeHint().height());
}

void MainWindow::fitMinimumToScreen(QScreen *screen)
{
    const QSize minimum(ComparisonLimits::minimumViewWidth, ComparisonLimits::minimumViewHeight);
    centralWidget()->setMinimumSize(minimum.boundedTo(room(screen)));
    layout()->activate(); // the window's own minimum follows now, not on the next event
}

void MainWindow::remember(UserSettings *settings, FilmMemory *films)
{
    settings_ = settings;
    if (const std::optional<QSize> size = settings->windowSize())
        resize(size->boundedTo(room(screen()) + QSize(0, menuBar()->sizeHint().height())));
    if (settings->windowMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);

    GlanceModel *model = view_->model();
    if (const auto view = settings->view())
        model->setView(*view);
    if (const auto mbps = settings->mbps())
        model->setMbps(*mbps);
    if (const auto maxHeight = settings->maxHeight())
        model->setMaxHeight(*maxHeight);
    if (const auto encoder = settings->encoder())
        model->setEncoder(*encoder);
    const auto keep = [settings, model] { settings->setComparison(*model); };
    for (const auto changed : {&GlanceModel::mbpsChanged, &GlanceModel::maxHeightChanged, &GlanceModel::viewChanged,
                               &GlanceModel::encoderChanged})
        connect(model, changed, this, keep);

    auto *recent = new RecentFilmsMenu(settings, this);
    fileMenu_->insertMenu(fileMenu_->actions().value(1), recent); // after "Film öffnen …"
    connect(recent, &RecentFilmsMenu::filmChosen, model, qOverload<const QUrl &>(&GlanceModel::openMovie));
    connect(model, &GlanceModel::movieChanged, recent, [settings, model, recent] {
        if (model->movie()) {
            settings->addRecentFilm(model->movie()->url);
            recent->refresh();
        }
    });
    view_->rememberDialogFolder(settings);

    if (ScanPanel *scans = view_->findChild<ScanPanel *>())
        new ScanMemory(model, scans->scanModel(), films, scans->scanModel());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (settings_) {
        const bool maximized = isMaximized();
        settings_->setWindowSize(maximized || isFullScreen() ? normalGeometry().size() : size(), maximized);
        settings_->sync();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::fitMinimumToScreen);
    // Once the window is up, its frame is known, and a size set from within this event would be
    // overridden by the one it is being shown with.
    QMetaObject::invokeMethod(this, &MainWindow::keepOnScreen, Qt::QueuedConnection);
}

void MainWindow::keepOnScreen()
{
    QScreen *screen = this->screen();
    fitMinimumToScreen(screen);
    // Opened on a screen too small for it: the whole window on the usable area.
    const QRect usable = screen ? screen->availableGeometry() : QRect();
    const QRect frame = frameGeometry();
    if (usable.isEmpty() || usable.contains(frame))
        return;
    const QSize decorations = frame.size() - size();
    const QSize content = size().boundedTo(usable.size() - decorations);
    const QSize outer = content + decorations;
    resize(content);
    move(std::clamp(frame.x(), usable.left(), usable.left() + usable.width() - outer.width()),
         std::clamp(frame.y(), usable.top(), usable.top() + usable.height() - outer.height()));
}
