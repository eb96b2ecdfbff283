#include "ui/glance_help_commands.h"

#include "ui/app_icons.h"
#include "ui/glance_help_view.h"

#include <QAction>
#include <QMenu>

GlanceHelpCommands::GlanceHelpCommands(QObject *parent)
    : QObject(parent), action_(new QAction(AppIcons::icon(AppIcons::Symbol::Help), GlanceHelpView::title(), this))
{
    action_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence(Qt::Key_F1)});
    action_->setShortcutContext(Qt::ApplicationShortcut);
    connect(action_, &QAction::triggered, this, &GlanceHelpCommands::showHelp);
}

GlanceHelpCommands::~GlanceHelpCommands()
{
    delete window_;
}

void GlanceHelpCommands::addTo(QMenu *menu) const
{
    menu->addAction(action_);
}

void GlanceHelpCommands::showHelp()
{
    if (!window_) {
        window_ = new GlanceHelpView;
        window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}
