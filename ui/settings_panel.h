#pragma once

#include <QWidget>
#include <functional>

class GlanceModel;
class QAction;
class QActionGroup;
class QLabel;
class QLayout;
class QPushButton;
class QSlider;
class QStackedWidget;
class QToolButton;
class SliderBinding;

// The controls of the three comparison settings on a faint rounded background: the scene row,
// the bitrate row, and the resolution row with the source line and "Neu berechnen". The whole
// panel is disabled while no movie is open.
class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    // canFitWindow tells whether the window can be fitted to the source now (the window is known
    // and not in full screen); it is asked whenever the resolution menu opens.
    SettingsPanel(GlanceModel *model, std::function<bool()> canFitWindow, QWidget *parent = nullptr);

    // Enables "Fenster auf Quelle anpassen" by the current state.
    void updateFitAction();

    // Room for the scene scan: the scene slider and its scale (slider values per second), the end
    // of the scene row, and a place directly under that row.
    QSlider *sceneSlider() const;
    double sceneValuesPerSecond() const;
    void addToSceneRow(QWidget *widget);
    void addUnderSceneRow(QWidget *widget);
    // A widget directly under the bitrate row, and a row under the others.
    void addUnderBitrateRow(QWidget *widget);
    void addRow(QWidget *widget);

signals:
    // "Fenster auf Quelle anpassen" was chosen.
    void fitWindowRequested();
    // The mouse took (true) or let go of (false) the scene or the bitrate slider.
    void sliderHeld(bool held);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLayout *makeSceneRow();
    QLayout *makeBitrateRow();
    QLayout *makeResolutionRow();
    QWidget *makeRecomputeButton();
    void reportHolding(QSlider *slider);

    void showMovie();
    void showMaxHeight();
    void showBusy();
    double duration() const;

    GlanceModel *model_;
    std::function<bool()> canFitWindow_;
    SliderBinding *scene_ = nullptr;
    QLabel *timeLabel_ = nullptr;
    QLabel *bitrateLabel_ = nullptr;
    QLayout *bitrateRow_ = nullptr;
    QToolButton *resolutionButton_ = nullptr;
    QActionGroup *heightGroup_ = nullptr;
    QAction *fitAction_ = nullptr;
    QLabel *sourceLine_ = nullptr;
    QPushButton *recomputeButton_ = nullptr;
    QStackedWidget *recomputeIcon_ = nullptr;
};
