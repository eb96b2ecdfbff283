#pragma once

#include <QWidget>

#include <functional>

class ClipBar;
class GlanceModel;
class QKeySequence;
class QLabel;
class QToolButton;

// Every frame of the comparison on screen: the clip bar as wide as the panes, and under it the
// buttons that step, play and find the worst frame (each with its key: ",", "P", ".", "W") beside
// the frame line. They work once the comparison's clips are open.
class ClipPanel : public QWidget {
    Q_OBJECT
public:
    explicit ClipPanel(GlanceModel *model, QWidget *parent = nullptr);

    ClipBar *bar() const { return bar_; }

private:
    QToolButton *addButton(const char *name, const QString &text, const QString &icon, const QKeySequence &key,
                           const std::function<void()> &action);
    void showClip();
    void showPlaying();

    GlanceModel *model_;
    ClipBar *bar_ = nullptr;
    QToolButton *back_ = nullptr;
    QToolButton *play_ = nullptr;
    QToolButton *forward_ = nullptr;
    QToolButton *worst_ = nullptr;
    QLabel *line_ = nullptr;
};
