#include "ui/glance_view.h"

#include "engine/comparison_limits.h"
#include "model/encoder_offer.h"
#include "model/film_outlook.h"
#include "model/glance_model.h"
#include "model/settings_observer.h"
#include "model/user_settings.h"
#include "ui/app_icons.h"
#include "ui/clip_panel.h"
#include "ui/comparison_export_actions.h"
#include "ui/comparison_pane.h"
#include "ui/elided_label.h"
#include "ui/encoder_row.h"
#include "ui/film_outlook_row.h"
#include "ui/glance_window_reader.h"
#include "ui/movie_file_dialog.h"
#include "ui/scan_panel.h"
#include "ui/scan_results_panel.h"
#include "ui/settings_panel.h"
#include "ui/status_area.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"
#include "ui/window_fit.h"
#include "ui/zoom_bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <QWindow>

GlanceView::GlanceView(GlanceModel *model, QWidget *parent) : QWidget(parent), model_(model ? model : new GlanceModel())
{
    setMinimumSize(ComparisonLimits::minimumViewWidth, ComparisonLimits::minimumViewHeight);
    setAcceptDrops(true);
    openAction_ = new QAction(MovieFileDialog::openText(), this);
    openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(openAction_, &QAction::triggered, this, &GlanceView::chooseMovie);
    addAction(openAction_); // the shortcut works in the window, with or without a menu
    exportActions_ = new ComparisonExportActions(model_, this);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(18, 18, 18, 18);
    root->setSpacing(14);
    root->addWidget(makeHeader());

    settings_ = new SettingsPanel(
        model_, [this] { return canFitWindow(); }, this);
    connect(settings_, &SettingsPanel::fitWindowRequested, this, &GlanceView::fitWindowToSource);
    root->addWidget(settings_);
    // The scene scan and the bitrate finder: buttons in the scene row, their strip under it.
    auto *scan = new ScanPanel(model_, settings_->sceneSlider(), settings_->sceneValuesPerSecond(), settings_);
    settings_->addToSceneRow(scan->buttons());
    settings_->addUnderSceneRow(scan);
    // The encoder row, the hints beside the bitrate, and what the comparison says of the film.
    offer_ = new EncoderOffer(this);
    connect(model_, &GlanceModel::cardFailedChanged, offer_, &EncoderOffer::cardFailed);
    settings_->addRow(new EncoderRow(model_, offer_, settings_));
    outlook_ = new FilmOutlook(model_, scan->scanModel(), this);
    auto *hints = TextStyles::captionLabel(QStringLiteral("bitrateHints"), settings_);
    hints->setAccessibleName(tr("Hinweise zur Bitrate"));
    settings_->addUnderBitrateRow(hints);
    const auto showHints = [hints, this] {
        hints->setText(outlook_->hints().join(QLatin1Char(' ')));
        hints->setAccessibleDescription(hints->text());
        hints->setVisible(!outlook_->hints().isEmpty());
    };
    connect(outlook_, &FilmOutlook::changed, hints, showHints);
    showHints();
    copyCommand_ = new QAction(tr("Kodierbefehl kopieren"), this);
    copyCommand_->setToolTip(tr("Den ffmpeg-Befehl kopieren, der den ganzen Film so kodiert wie den Ausschnitt: "
                                "Encoder, Preset, Bittiefe, Bitrate und Auflösung; Ton und Untertitel unverändert"));
    connect(copyCommand_, &QAction::triggered, this, [this] {
        const QString command = outlook_->command();
        if (command.isEmpty())
            return;
        QApplication::clipboard()->setText(command);
        model_->setNotice(tr("Kodierbefehl in die Zwischenablage kopiert."));
    });
    addAction(copyCommand_);
    // Without a film there is no command to copy.
    const auto enableCopy = [this] { copyCommand_->setEnabled(model_->movie().has_value()); };
    connect(model_, &GlanceModel::movieChanged, copyCommand_, enableCopy);
    enableCopy();

    // Tab follows the rows: the scan's buttons after "+1 s", its rows before the bitrate row.
    QWidget *previous = nullptr;
    for (const char *name : {"forwardButton", "scanButton", "findButton", "scanCancelButton", "scanOutcome",
                             "sceneListButton", "bitrateSlider"}) {
        QWidget *next = settings_->findChild<QWidget *>(QLatin1String(name));
        if (previous && next)
            setTabOrder(previous, next);
        previous = next ? next : previous;
    }

    // The pictures, and beside them the scan's list and chart while shown.
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("comparisonSplitter"));
    split->setChildrenCollapsible(false);
    auto *pictures = new QWidget(split);
    auto *comparison = new QHBoxLayout(pictures);
    comparison->setContentsMargins(0, 0, 0, 0);
    comparison->setSpacing(12);
    auto *original = originalPane_ = new ComparisonPane(tr("Original · auf Vergleichsauflösung skaliert"), model_,
                                                        ComparisonPane::Side::Original, this);
    original->setObjectName(QStringLiteral("originalPane"));
    //: "HEVC" stands for the format of the comparison on screen and is replaced by it ("AV1").
    auto *encoded = new ComparisonPane(tr("HEVC · Vorschau"), model_, ComparisonPane::Side::Encoded, this);
    encoded->setObjectName(QStringLiteral("encodedPane"));
    comparison->addWidget(original, 1);
    comparison->addWidget(encoded, 1);
    split->addWidget(pictures);
    split->addWidget(scan->resultsPanel());
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    root->addWidget(split, 1);
    root->addWidget(new ClipPanel(model_, this));

    root->addWidget(new ZoomBar(model_, this));
    auto *status = new StatusArea(model_, this);
    status->addLine(new FilmOutlookRow(outlook_, copyCommand_, status));
    root->addWidget(status);

    auto *note = new QLabel(tr("Nach einer Slideränderung wird automatisch neu kodiert. Währenddessen bleibt der "
                               "letzte Vergleich sichtbar. Kurze Ausschnitte können die Zielbitrate überschreiten; "
                               "mehrere dunkle, bewegte und detailreiche Szenen prüfen."),
                            this);
    note->setWordWrap(true);
    TextStyles::apply(note, TextStyles::caption(), true);
    root->addWidget(note);

    // A real change of a setting asks for a new comparison after the pause, and one made by
    // dragging a slider after its release.
    auto *observer = new SettingsObserver(model_, this);
    connect(settings_, &SettingsPanel::sliderHeld, observer, &SettingsObserver::setHeld);

    // Space flips the frames from the start, not only after a click into the pane.
    connect(model_, &GlanceModel::viewChanged, this, [this] {
        if (model_->view() == GlanceModel::ComparisonView::Flip)
            originalPane_->setFocus();
    });
    connect(model_, &GlanceModel::movieChanged, this, &GlanceView::showMovie);
    showMovie();

    new GlanceWindowReader(this, [this](QWidget *window) {
        window_ = window;
        settings_->updateFitAction();
    });
    // Made the last child, so that it outlives every widget and observer above.
    model_->setParent(this);
}

QWidget *GlanceView::makeHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);

    auto *icon = new QLabel(header);
    const int iconSize = QFontMetrics(TextStyles::largeTitle()).height();
    icon->setPixmap(AppIcons::pixmap(AppIcons::Symbol::Sliders, QSize(iconSize, iconSize),
                                     palette().color(QPalette::Highlight), devicePixelRatioF()));
    icon->setAccessibleName(tr("Bitglance-Logo"));
    row->addWidget(icon);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(4);
    auto *title = new QLabel(QStringLiteral("Bitglance"), header);
    title->setFont(TextStyles::title2());
    titles->addWidget(title);
    subtitle_ = new ElidedLabel(header);
    subtitle_->setObjectName(QStringLiteral("subtitle"));
    TextStyles::apply(subtitle_, QApplication::font(), true);
    titles->addWidget(subtitle_);
    row->addLayout(titles, 1);

    auto *open = new QPushButton(openAction_->text(), header);
    open->setObjectName(QStringLiteral("openButton"));
    open->setToolTip(ViewTexts::withKey(openAction_->text(), openAction_->shortcut()));
    open->setDefault(true);
    QPalette accent = open->palette();
    accent.setColor(QPalette::Button, accent.color(QPalette::Highlight));
    accent.setColor(QPalette::ButtonText, accent.color(QPalette::HighlightedText));
    open->setPalette(accent);
    connect(open, &QPushButton::clicked, openAction_, &QAction::trigger);
    row->addWidget(open);
    return header;
}

QList<QAction *> GlanceView::exportActions() const
{
    return exportActions_->actions();
}

void GlanceView::chooseMovie()
{
    const QUrl movie = MovieFileDialog::choose(this, dialogFolder_ ? dialogFolder_->lastFolder() : QUrl());
    if (movie.isEmpty())
        return;
    if (dialogFolder_)
        dialogFolder_->setLastFolder(movie.adjusted(QUrl::RemoveFilename));
    model_->openMovie(movie);
}

void GlanceView::showMovie()
{
    const std::optional<MovieInfo> &movie = model_->movie();
    QString name = movie ? QFileInfo(movie->path()).fileName() : tr("Bitrate und Bildqualität vergleichen");
    if (movie && name.isEmpty())
        name = movie->url.fileName();
    subtitle_->setFullText(name);
    subtitle_->setToolTip(movie ? name : QString());
}

void GlanceView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // "100 %" counts the physical pixels of the screen the window is on, wherever it moves.
    if (QWindow *handle = window()->windowHandle())
        connect(handle, &QWindow::screenChanged, this, &GlanceView::useScreen, Qt::UniqueConnection);
    useScreen(screen());
}

void GlanceView::useScreen(QScreen *screen)
{
    if (screen)
        model_->setDevicePixelRatio(screen->devicePixelRatio());
}

void GlanceView::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void GlanceView::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    model_->openMovie(urls.constFirst()); // the URL keeps the name's bytes
}

void GlanceView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || model_->view() != GlanceModel::ComparisonView::Flip)
        return QWidget::keyPressEvent(event);
    originalPane_->flip();
    event->accept();
}

bool GlanceView::canFitWindow() const
{
    return window_ && !(window_->windowState() & Qt::WindowFullScreen);
}

void GlanceView::fitWindowToSource()
{
    const std::optional<MovieInfo> &movie = model_->movie();
    if (!movie || !window_)
        return;
    QScreen *screen = window_->screen();
    if (!screen || (window_->windowState() & Qt::WindowFullScreen))
        return;

    model_->setMaxHeight(0);
    model_->setZoom(1);
    model_->setPan(QSizeF(0, 0));

    // The minimum and the image areas belong to this view; everything else of the window (its
    // frame, the menu bar, scroll bars) counts as decoration.
    const QRect shown = visibleRegion().boundingRect();
    const QRect content(mapToGlobal(shown.topLeft()), shown.size());
    const QRect frame = window_->frameGeometry();
    const QRect windowContent = window_->geometry();
    WindowFit fit;
    // The frames are shown upright.
    fit.movie = movie->rotation % 180 != 0 ? QSizeF(movie->height, movie->width) : QSizeF(movie->width, movie->height);
    fit.panes = model_->view() == GlanceModel::ComparisonView::SideBySide ? 2 : 1;
    fit.previewSize = model_->previewSize();
    fit.content = size();
    fit.scale = window_->devicePixelRatioF();
    fit.decorations = QMarginsF(content.x() - frame.x(), content.y() - frame.y(),
                                (frame.x() + frame.width()) - (content.x() + content.width()),
                                (frame.y() + frame.height()) - (content.y() + content.height()));
    fit.visibleArea = screen->availableGeometry();
    fit.currentFrame = frame;
    const QRectF target = fit.newFrame();

    if (window_->windowState() & Qt::WindowMaximized)
        window_->setWindowState(window_->windowState() & ~Qt::WindowMaximized);
    window_->resize(qRound(target.width()) - (frame.width() - windowContent.width()),
                    qRound(target.height()) - (frame.height() - windowContent.height()));
    window_->move(qRound(target.x()), qRound(target.y()));
}
