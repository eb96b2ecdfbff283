#pragma once

#include <QWidget>
#include <memory>

class GlanceModel;
class QLabel;
class ProgressRow;
class QPushButton;
class QSlider;
class ScanModel;
class ScanResultsPanel;
class SceneStrip;

// The scene scan and the bitrate finder in the window. The two buttons that start them go into
// the scene row (buttons()); the panel itself sits under the scene slider: the strip of scanned
// scenes aligned with the slider, the progress of a run with "Abbrechen" (and, when the settings
// changed meanwhile, that the run ends at its own and the comparison follows), and what the runs
// found: the strip's title with the scan's outcome, the finder's outcome or a failure, and the
// button that shows or hides the list and the chart beside the pictures (resultsPanel(), which the
// window places).
class ScanPanel : public QWidget {
    Q_OBJECT
public:
    // valuesPerSecond: the scene slider's scale.
    ScanPanel(GlanceModel *model, QSlider *sceneSlider, double valuesPerSecond, QWidget *parent = nullptr);

    ScanModel *scanModel() const { return scans_; }
    // "Szenen prüfen" and "Bitrate finden …" side by side, for the scene row.
    QWidget *buttons() const { return buttons_; }
    // The list and the chart, hidden until "Szenenliste" shows them; for the window to place.
    ScanResultsPanel *resultsPanel() const { return results_; }
    // "Szenen bei 2.0 Mbit/s" (with the height limit when it is not the comparison's): what the
    // strip shows; empty without scenes.
    QString stripTitle() const;

private:
    QWidget *makeButtons();
    QWidget *makeProgressRow();
    QWidget *makeOutcomeRow();
    void findBitrate();
    void showActivity();
    void showProgress();
    void showOutcome();
    void showStrip();

    GlanceModel *model_;
    ScanModel *scans_;
    QWidget *buttons_ = nullptr;
    QPushButton *scanButton_ = nullptr;
    QPushButton *findButton_ = nullptr;
    SceneStrip *strip_ = nullptr;
    QWidget *progressRow_ = nullptr;
    ProgressRow *progress_ = nullptr;
    QLabel *runNotice_ = nullptr;
    QWidget *outcomeRow_ = nullptr;
    QLabel *stripTitle_ = nullptr;
    QLabel *outcomeLabel_ = nullptr;
    QPushButton *listButton_ = nullptr;
    ScanResultsPanel *results_ = nullptr;
};
