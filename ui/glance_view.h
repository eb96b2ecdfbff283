#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class EncoderOffer;
class FilmOutlook;
class ComparisonExportActions;
class ComparisonPane;
class ElidedLabel;
class GlanceModel;
class QAction;
class QScreen;
class SettingsPanel;
class UserSettings;

// The main window's content: header, the controls of the three comparison settings, the two
// comparison panes (or the one pane of the other views), the zoom row, the error and status rows
// and the closing note. It owns the window's model (and through it the engine and its work
// folder), opens movies chosen in the dialog or dropped on it, and fits its window to the source.
class GlanceView : public QWidget {
    Q_OBJECT
public:
    // Takes model as its own; without one, creates one on the program's own Tools folder.
    explicit GlanceView(GlanceModel *model = nullptr, QWidget *parent = nullptr);

    GlanceModel *model() const { return model_; }
    // "Film öffnen …" with Ctrl+O: the header button and the File menu share it, so that the
    // shortcut has one owner.
    QAction *openAction() const { return openAction_; }
    // The commands that save or copy the comparison on screen, for the File menu.
    QList<QAction *> exportActions() const;
    // "Kodierbefehl kopieren": the command that encodes the whole film as compared, for the File menu.
    QAction *copyCommandAction() const { return copyCommand_; }
    // The encoders offered; testCards() on it adds a graphics card that works.
    EncoderOffer *encoderOffer() const { return offer_; }

    // Shows the file dialog and opens the chosen movie.
    void chooseMovie();
    // From now on the file dialog opens in the folder it was last left in, as settings (which
    // outlives the view) remember it.
    void rememberDialogFolder(UserSettings *settings) { dialogFolder_ = settings; }
    // Switches to the source resolution, resets zoom and pan, and resizes the window so that each
    // image area shows the movie one video pixel per screen pixel, within the screen's usable area.
    void fitWindowToSource();

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // Space shows the flip view's other frame (unless the focused control takes it).
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *makeHeader();
    void showMovie();
    void useScreen(QScreen *screen);
    bool canFitWindow() const;

    GlanceModel *model_;       // the view's last child: Qt deletes it after every widget that shows it
    QPointer<QWidget> window_; // as the window reader last reported it
    QAction *openAction_ = nullptr;
    ComparisonExportActions *exportActions_ = nullptr;
    ComparisonPane *originalPane_ = nullptr;
    ElidedLabel *subtitle_ = nullptr;
    SettingsPanel *settings_ = nullptr;
    UserSettings *dialogFolder_ = nullptr;
    EncoderOffer *offer_ = nullptr;
    FilmOutlook *outlook_ = nullptr;
    QAction *copyCommand_ = nullptr;
};
