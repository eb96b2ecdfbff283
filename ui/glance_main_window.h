#pragma once

#include <QMainWindow>
#include <memory>

class GlanceHelpCommands;
class GlanceModel;
class GlanceView;

// The main window: a GlanceView as its content, a File menu (no command for a second main
// window) and a Help menu with the help command. Deletes itself when closed, and with it the
// view, the model, the engine and the work folder.
class GlanceMainWindow : public QMainWindow {
    Q_OBJECT
public:
    GlanceMainWindow(GlanceHelpCommands *help, std::shared_ptr<GlanceModel> model = nullptr, QWidget *parent = nullptr);

    GlanceView *view() const { return view_; }

private:
    GlanceView *view_;
};
