#pragma once

#include "ui/glance_help_view.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

// The help command and the one help window it opens: created on first request, brought forward
// on every later one, created anew after it was closed.
class GlanceHelpCommands : public QObject {
    Q_OBJECT
public:
    explicit GlanceHelpCommands(QObject *parent = nullptr);
    ~GlanceHelpCommands() override;

    // "Bitglance-Hilfe" with Ctrl+? and F1.
    QAction *action() const { return action_; }
    // Adds the command to a menu (a main window's Help menu).
    void addTo(QMenu *menu) const;

    GlanceHelpView *window() const { return window_; }

public slots:
    void showHelp();

private:
    QAction *action_;
    QPointer<GlanceHelpView> window_;
};
