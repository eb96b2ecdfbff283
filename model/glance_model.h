#pragma once

#include "engine/comparison_limits.h"
#include "engine/comparison_settings.h"
#include "engine/movie_info.h"
#include "engine/preview_result.h"
#include "model/comparison_progress.h"

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

class ClipPlayer;
class PreviewEngine;

// The observable state behind one main window: the opened movie, the three comparison settings,
// the decoded frames, the texts the window shows, and the zoom and pan both panes share.
// Lives on the GUI thread. It owns the engine together with its running job, if any: the engine
// (and its work folder) goes when the model and the job have let go of it.
class GlanceModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<MovieInfo> movie READ movie NOTIFY movieChanged)
    Q_PROPERTY(QImage original READ original NOTIFY originalChanged)
    Q_PROPERTY(QImage encoded READ encoded NOTIFY encodedChanged)
    Q_PROPERTY(double seconds READ seconds WRITE setSeconds NOTIFY secondsChanged)
    Q_PROPERTY(double mbps READ mbps WRITE setMbps NOTIFY mbpsChanged)
    Q_PROPERTY(qint64 maxHeight READ maxHeight WRITE setMaxHeight NOTIFY maxHeightChanged)
    Q_PROPERTY(EncoderSetting encoder READ encoder WRITE setEncoder NOTIFY encoderChanged)
    Q_PROPERTY(bool cardFailed READ cardFailed NOTIFY cardFailedChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString measurement READ measurement NOTIFY measurementChanged)
    Q_PROPERTY(std::optional<QString> error READ error NOTIFY errorChanged)
    Q_PROPERTY(double zoom READ zoom WRITE setZoom NOTIFY zoomChanged)
    Q_PROPERTY(QSizeF pan READ pan WRITE setPan NOTIFY panChanged)
    Q_PROPERTY(QSizeF previewSize READ previewSize WRITE setPreviewSize NOTIFY previewSizeChanged)
    Q_PROPERTY(QSizeF pixelSize READ pixelSize NOTIFY pixelSizeChanged)
    Q_PROPERTY(QImage difference READ difference NOTIFY differenceChanged)
    Q_PROPERTY(double comparisonMbps READ comparisonMbps NOTIFY comparisonMbpsChanged)
    Q_PROPERTY(ComparisonView view READ view WRITE setView NOTIFY viewChanged)
    Q_PROPERTY(bool stale READ stale NOTIFY staleChanged)
    Q_PROPERTY(std::optional<ComparisonProgress> progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QString quality READ quality NOTIFY qualityChanged)
    Q_PROPERTY(qint64 shownFrame READ shownFrame NOTIFY shownFrameChanged)
    Q_PROPERTY(QString frameLine READ frameLine NOTIFY frameLineChanged)
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)

public:
    // How the comparison row shows the two frames: side by side, one pane that shows either
    // frame in turn, one pane split by a divider, or one pane with their difference.
    enum class ComparisonView { SideBySide, Flip, Split, Difference };
    Q_ENUM(ComparisonView)

    // The engine is created on the program's Tools folder, or on toolsDirectory when given.
    // A failed creation leaves no engine and puts the failure's text into error().
    explicit GlanceModel(const QString &toolsDirectory = QString(), QObject *parent = nullptr);
    // Cancels the running job, which then ends silently.
    ~GlanceModel() override;

    // Observable fields, in this order.
    const std::optional<MovieInfo> &movie() const { return movie_; }
    const QImage &original() const { return original_; } // null: none
    const QImage &encoded() const { return encoded_; }   // null: none
    double seconds() const { return seconds_; }
    double mbps() const { return mbps_; }
    qint64 maxHeight() const { return maxHeight_; }
    const EncoderSetting &encoder() const { return encoder_; }
    // An encode on the graphics card failed in this window; the model went back to x265.
    bool cardFailed() const { return cardFailed_; }
    // The four above as one value.
    ComparisonSettings settings() const { return {seconds_, mbps_, maxHeight_, encoder_}; }
    bool busy() const { return busy_; }
    const QString &status() const { return status_; }
    const QString &measurement() const { return measurement_; }
    const std::optional<QString> &error() const { return error_; }
    double zoom() const { return zoom_; }
    QSizeF pan() const { return pan_; }
    QSizeF previewSize() const { return previewSize_; }
    QSizeF pixelSize() const { return pixelSize_; }
    // The luma difference of the two frames, amplified (differenceImage); null: none.
    const QImage &difference() const { return difference_; }
    // The target bitrate of the comparison on screen; 0 while none is shown.
    double comparisonMbps() const { return comparisonMbps_; }
    ComparisonView view() const { return view_; }
    // Whether the settings of the comparison on screen differ from settings(): the frames shown
    // are no longer what the settings ask for.
    bool stale() const { return stale_; }
    // How far the cut and the encode of the current comparison are, as one bar; nothing while
    // neither runs.
    const std::optional<ComparisonProgress> &progress() const { return progress_; }
    // The quality line of the comparison on screen (its "Bild" part for the frame on screen),
    // "Qualität wird gemessen …" while it is measured; empty while there is none.
    const QString &quality() const { return quality_; }
    // The frame on screen: its index in the clips of the comparison on screen, from 0; -1 without one.
    qint64 shownFrame() const { return shownFrame_; }
    // "Bild 38 von 75 · 00:00:06.04 · SSIM 0.9412 · PSNR 38.1 dB": the frame on screen, counted
    // from 1, its time in the movie and, once measured, its quality; or why the clip's frames
    // cannot be shown. Empty without a comparison.
    const QString &frameLine() const { return frameLine_; }
    // "Vergleich gespeichert: /Filme/a.png": what the last save or copy of the comparison did; empty
    // again when the status changes or a save fails.
    const QString &notice() const { return notice_; }
    // The comparison on screen as the engine rendered it, with its quality numbers once measured.
    const std::optional<PreviewResult> &shownResult() const { return shown_; }
    // The settings the shown comparison was made with.
    const std::optional<ComparisonSettings> &shownSettings() const { return shownSettings_; }

    // Written by the views. Each emits its change signal only on a real change of value.
    void setSeconds(double seconds);
    void setMbps(double mbps);
    void setMaxHeight(qint64 maxHeight);
    void setEncoder(const EncoderSetting &encoder);
    // What the last command did, beside the status (cleared with the next status).
    void setNotice(QString notice);
    void setZoom(double zoom);
    void setPan(QSizeF pan);
    void setPreviewSize(QSizeF size);
    void setView(ComparisonView view);

    // Every frame of the comparison on screen, once its clips are ready (after its measurement):
    // the views step, play and jump with it; what it shows goes to original(), encoded() and
    // difference() as one.
    ClipPlayer *player() const { return player_; }
    // Shows frame n of the comparison on screen; asked for before its clips are open, they open on
    // it (the next comparison starts on its own frame again).
    void showFrame(qint64 n);
    // The same for the frame with the lowest SSIM, once the comparison is measured.
    void showWorstFrame();
    // Asks for the comparison at another scene time and shows it on its worst frame once its clips
    // are open (a scene chosen from a scan's list).
    void showSceneOnWorstFrame(double seconds);

    // The engine's work folder, empty without an engine.
    QString workDirectory() const;
    // The engine, for work beside the comparisons (the scene scan); none when its creation failed.
    const std::shared_ptr<PreviewEngine> &engine() const { return engine_; }

    // While held (a scene scan uses the engine) no comparison starts: a request is only
    // remembered, and releasing the hold makes it at once. Holding cancels a comparison on its way
    // (in its pause or rendering), which then counts as requested.
    void setComparisonsHeld(bool held);

    // Physical pixels per view point of the screen that shows the window; the window hands it in
    // and keeps it current. 1 until then.
    void setDevicePixelRatio(double ratio);

    // Cancels the current job, clears the previous movie, frames and texts, and probes the file
    // the user chose. Does nothing without an engine.
    void openMovie(const QString &path);
    // The same for a file URL whose encoded path holds the name's bytes (movieUrl), so that a name
    // that is not valid UTF-8 is opened as it stands.
    void openMovie(const QUrl &url);
    // Requests a comparison of the current settings, after the pause unless immediate.
    void schedulePreview(bool immediate);
    // Where to suggest saving the comparison on screen: "<movie name>-<hh-mm-ss>-<mbps>Mbit.<extension>"
    // in the movie's folder; for a picture of the frame on screen, that frame's time and
    // "-Bild<number from 1>" before the extension. Empty without a comparison.
    QString suggestedPath(const QString &extension, bool frame = false) const;
    // The comparison on screen at the frame on screen, both frames upright side by side with a
    // caption strip that names the frame, as a PNG file at destination; or on the clipboard.
    // Failures show in error().
    void saveComparisonPicture(const QString &destination);
    void copyComparisonPicture();
    // The encoded clip of the comparison on screen, at destination. Failures show in error().
    void saveEncodedClip(const QString &destination);

    // Zoom so that one video pixel covers one physical screen pixel; pan back to the centre.
    void zoomToActualPixels();
    // Multiplies the zoom by factor, within its limits, so that the point at anchor (view points
    // from the image area's centre) keeps its place.
    void zoomTowards(QPointF anchor, double factor);

    // Cancels the current job, which then ends silently.
    void cancelCurrentJob();

    // The pause before a scheduled comparison (ComparisonLimits::comparisonPauseMs); tests may shorten it.
    void setComparisonPauseMs(int ms) { pauseMs_ = ms; }

signals:
    void movieChanged();
    void originalChanged();
    void encodedChanged();
    void secondsChanged();
    void mbpsChanged();
    void maxHeightChanged();
    void encoderChanged();
    void cardFailedChanged();
    void busyChanged();
    void statusChanged();
    void measurementChanged();
    void errorChanged();
    void zoomChanged();
    void panChanged();
    void previewSizeChanged();
    void pixelSizeChanged();
    void differenceChanged();
    void comparisonMbpsChanged();
    void viewChanged();
    void staleChanged();
    void progressChanged();
    void qualityChanged();
    void shownFrameChanged();
    void frameLineChanged();
    void noticeChanged();

private:
    struct Job;
    struct Export;
    struct Clip;
    void setMovie(std::optional<MovieInfo> movie);
    void setOriginal(QImage image);
    void setEncoded(QImage image);
    void setBusy(bool busy);
    void setStatus(QString status);
    void setMeasurement(QString text);
    void setError(std::optional<QString> error);
    void setPixelSize(QSizeF size);
    void setDifference(QImage image);
    void setComparisonMbps(double mbps);
    // The comparison on screen was made with these settings; nothing while none is shown.
    void setShownSettings(std::optional<ComparisonSettings> settings);
    void updateStale();
    void setProgress(std::optional<ComparisonProgress> progress);
    void setQuality(QString quality);
    void setShownFrame(qint64 frame);
    void setFrameLine(QString line);

    std::optional<MovieInfo> movie_;
    QImage original_;
    QImage encoded_;
    double seconds_ = 60;
    double mbps_ = 2;
    qint64 maxHeight_ = 0;
    EncoderSetting encoder_;
    bool cardFailed_ = false;
    bool busy_ = false;
    QString status_;
    QString measurement_;
    std::optional<QString> error_;
    double zoom_ = 1;
    QSizeF pan_{0, 0};
    QSizeF previewSize_{0, 0};
    QSizeF pixelSize_{0, 0};
    QImage difference_;
    double comparisonMbps_ = 0;
    ComparisonView view_ = ComparisonView::SideBySide;
    bool stale_ = false;
    std::optional<ComparisonSettings> shownSettings_;
    std::optional<ComparisonProgress> progress_;
    QString quality_;
    qint64 shownFrame_ = -1;
    std::optional<qint64> startFrame_;                // asked for before the clips were open
    std::optional<ComparisonSettings> worstFrameFor_; // the comparison to open on its worst frame
    QString frameLine_;
    QString notice_;
    std::optional<PreviewResult> shown_;
    ClipPlayer *player_ = nullptr;
    std::shared_ptr<Job> task_;
    std::shared_ptr<PreviewEngine> engine_;
    bool comparisonsHeld_ = false;
    bool comparisonPending_ = false;

    double devicePixelRatio_ = 1;
    int pauseMs_ = ComparisonLimits::comparisonPauseMs;
};
