#include "glance_main_window.h"

#include "app_icons.h"
#include "comparison_limits.h"
#include "glance_help_commands.h"
#include "glance_model.h"
#include "glance_view.h"
#include "movie_file_dialog.h"

#include <QApplication>
#include <QMenuBar>

GlanceMainWindow::GlanceMainWindow(GlanceHelpCommands *help, std::shared_ptr<GlanceModel> model, QWidget *parent)
    : QMainWindow(parent), view_(new GlanceView(std::move(model)))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Bitglance"));
    setWindowIcon(AppIcons::application());
    setCentralWidget(view_);
    resize(ComparisonLimits::firstWindowWidth, ComparisonLimits::firstWindowHeight + menuBar()->sizeHint().height());

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    // The header button carries Ctrl+O; a second shortcut here would make both ambiguous.
    file->addAction(MovieFileDialog::openText(), view_, &GlanceView::chooseMovie);
    file->addSeparator();
    QAction *quit = file->addAction(QStringLiteral("&Beenden"), qApp, &QApplication::closeAllWindows);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    if (help)
        help->addTo(helpMenu);
}
