#pragma once

#include <QMainWindow>
#include <memory>

class FilmMemory;
class GlanceHelpCommands;
class GlanceModel;
class GlanceView;
class QMenu;
class QScreen;
class UserSettings;

// The main window: a GlanceView as its content, in a scroll area for screens smaller than the
// view's minimum; a File menu (no command for a second main window) and a Help menu with the
// help command. It opens with 1400 × 900 of content below the menu bar, or as much of that as
// the screen's usable area holds. Deletes itself when closed, and with it the view, the model,
// the engine and the work folder.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(GlanceHelpCommands *help, GlanceModel *model = nullptr, QWidget *parent = nullptr);

    GlanceView *view() const { return view_; }

    // Takes up what settings remember (the window's size, the comparison's bitrate, height limit
    // and view, the file dialog's folder, the films opened last, which the File menu offers under
    // "Zuletzt geöffnet") and keeps it current from now on; each film's scan and finder results
    // go to films and come back from there. Both outlive the window. Called once, before the
    // window is shown; a window without it remembers nothing.
    void remember(UserSettings *settings, FilmMemory *films);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The window's minimum: the view's minimum, or the screen's usable area less the menu bar and
    // the window frame where that is smaller (the view then scrolls).
    void fitMinimumToScreen(QScreen *screen);
    // Shrinks and moves the window into its screen's usable area where it does not fit.
    void keepOnScreen();
    // The size of the usable area that the content below the menu bar may take.
    QSize room(QScreen *screen) const;

    GlanceView *view_;
    QMenu *fileMenu_ = nullptr;
    UserSettings *settings_ = nullptr;
    bool shown_ = false;
};
