#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class BusySpinner;
class ComparisonPane;
class GlanceModel;
class GlanceWindowReader;
class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QSlider;
class QStackedWidget;
class QToolButton;
struct MovieInfo;

// The main window's content: header, the controls of the three comparison settings, the two
// comparison panes, the zoom row, the error area, the status row and the closing note. It owns
// the window's model (and through it the engine and its work folder).
class GlanceView : public QWidget {
    Q_OBJECT
public:
    // Without a model, creates one on the program's own Tools folder.
    explicit GlanceView(std::shared_ptr<GlanceModel> model = nullptr, QWidget *parent = nullptr);
    ~GlanceView() override;

    GlanceModel *model() const { return model_.get(); }
    // The top-level window the view lives in, as last reported; nullptr before the first report.
    QWidget *hostWindow() const { return window_; }

    // Switches to the source resolution, resets zoom and pan, and resizes the window so that each
    // image area shows the movie one video pixel per screen pixel, within the screen's usable area.
    void fitWindowToSource();

    static QString openMovieText();
    // "Quelle", "max. 720p", "max. 1080p".
    static QString heightLimitText(qint64 maxHeight);
    // "Quelle: H264 · 1920 × 1080 · 8.52 Mbit/s"
    static QString sourceLineText(const MovieInfo &movie);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *makeHeader();
    QWidget *makeControls();
    QWidget *makeZoomRow();
    QWidget *makeStatusRow();

    void showMovie();
    void showSeconds();
    void showMbps();
    void showMaxHeight();
    void showBusy();
    void showStatus();
    void showError();
    void showZoom();
    void updateFitAction();
    void updateErrorHeight();
    void elideSubtitle();
    double duration() const;

    std::shared_ptr<GlanceModel> model_;
    QPointer<QWidget> window_;
    GlanceWindowReader *reader_ = nullptr;
    bool syncing_ = false; // true while the view moves its own controls to the model's values

    QString subtitleText_;
    QLabel *subtitle_ = nullptr;
    QPushButton *openButton_ = nullptr;
    QFrame *controls_ = nullptr;
    QSlider *sceneSlider_ = nullptr;
    QLabel *timeLabel_ = nullptr;
    QPushButton *backButton_ = nullptr;
    QPushButton *forwardButton_ = nullptr;
    QSlider *bitrateSlider_ = nullptr;
    QLabel *bitrateLabel_ = nullptr;
    QList<QPushButton *> presetButtons_;
    QToolButton *resolutionButton_ = nullptr;
    QMenu *resolutionMenu_ = nullptr;
    QActionGroup *heightGroup_ = nullptr;
    QAction *fitAction_ = nullptr;
    QLabel *sourceLine_ = nullptr;
    QPushButton *recomputeButton_ = nullptr;
    QStackedWidget *recomputeIcon_ = nullptr;
    ComparisonPane *originalPane_ = nullptr;
    ComparisonPane *encodedPane_ = nullptr;
    QSlider *zoomSlider_ = nullptr;
    QLabel *zoomLabel_ = nullptr;
    QPushButton *fitZoomButton_ = nullptr;
    QPushButton *actualPixelsButton_ = nullptr;
    QScrollArea *errorArea_ = nullptr;
    QLabel *errorLabel_ = nullptr;
    BusySpinner *statusSpinner_ = nullptr;
    QLabel *statusLabel_ = nullptr;
    QLabel *measurementLabel_ = nullptr;
};
