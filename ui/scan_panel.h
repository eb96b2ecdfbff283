#pragma once

#include <QWidget>
#include <memory>

class GlanceModel;
class QLabel;
class ProgressRow;
class QPushButton;
class QSlider;
class ScanModel;
class ScanResultsWindow;
class SceneStrip;

// The scene scan and the bitrate finder in the window. The two buttons that start them go into
// the scene row (buttons()); the panel itself sits under the scene slider: the strip of scanned
// scenes aligned with the slider, the progress of a run with "Abbrechen", and the outcome of the
// last run with the button that opens the ranked list of scenes and the finder's chart.
class ScanPanel : public QWidget {
    Q_OBJECT
public:
    // valuesPerSecond: the scene slider's scale.
    ScanPanel(GlanceModel *model, QSlider *sceneSlider, double valuesPerSecond, QWidget *parent = nullptr);

    ScanModel *scanModel() const { return scans_; }
    // "Szenen prüfen" and "Bitrate finden …" side by side, for the scene row.
    QWidget *buttons() const { return buttons_; }
    // The list and the chart, in a window of their own; shown by "Szenenliste".
    ScanResultsWindow *resultsWindow() const { return results_; }

private:
    QWidget *makeButtons();
    QWidget *makeProgressRow();
    QWidget *makeOutcomeRow();
    void findBitrate();
    void showActivity();
    void showProgress();
    void showOutcome();
    void openResults();

    GlanceModel *model_;
    ScanModel *scans_;
    QWidget *buttons_ = nullptr;
    QPushButton *scanButton_ = nullptr;
    QPushButton *findButton_ = nullptr;
    SceneStrip *strip_ = nullptr;
    QWidget *progressRow_ = nullptr;
    ProgressRow *progress_ = nullptr;
    QWidget *outcomeRow_ = nullptr;
    QLabel *outcomeLabel_ = nullptr;
    QPushButton *listButton_ = nullptr;
    ScanResultsWindow *results_ = nullptr;
};
