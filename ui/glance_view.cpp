#include "glance_view.h"

#include "app_icons.h"
#include "busy_spinner.h"
#include "comparison_limits.h"
#include "comparison_pane.h"
#include "comparison_texts.h"
#include "glance_model.h"
#include "glance_window_reader.h"
#include "settings_observer.h"
#include "text_styles.h"
#include "window_fit.h"

#include <QActionGroup>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Sliders work on integers: the scene in milliseconds, the bitrate in tenths, the zoom in
// hundredths.
constexpr double sceneScale = 1000;
constexpr double bitrateScale = 10;
constexpr double zoomScale = 100;

const char *const resolutionText = "Auflösung";

int toSlider(double value, double scale)
{
    return int(std::lround(value * scale));
}

QLabel *boxedLabel(const QString &text, int width, Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFixedWidth(width);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// Small buttons as wide as their text needs, not the style's minimum width for push buttons.
QPushButton *compactButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    const int width = button->fontMetrics().horizontalAdvance(text) + 28;
    button->setFixedWidth(std::max(44, width));
    return button;
}

QStringList videoFileFilters()
{
    // Every file type the system knows as video, then MP4 and Matroska by name, then anything.
    QStringList patterns;
    const QList<QMimeType> types = QMimeDatabase().allMimeTypes();
    for (const QMimeType &type : types) {
        if (type.name().startsWith(QLatin1String("video/")))
            patterns += type.globPatterns();
    }
    patterns += {QStringLiteral("*.mp4"), QStringLiteral("*.m4v"), QStringLiteral("*.mkv")};
    patterns.removeDuplicates();
    return {QStringLiteral("Videodateien (%1)").arg(patterns.join(QLatin1Char(' '))),
            QStringLiteral("MP4 (*.mp4 *.m4v)"), QStringLiteral("Matroska (*.mkv)"),
            QStringLiteral("Alle Dateien (*)")};
}

} // namespace

GlanceView::GlanceView(std::shared_ptr<GlanceModel> model, QWidget *parent)
    : QWidget(parent), model_(model ? std::move(model) : GlanceModel::create())
{
    setMinimumSize(ComparisonLimits::minimumViewWidth, ComparisonLimits::minimumViewHeight);
    setAcceptDrops(true);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(18, 18, 18, 18);
    root->setSpacing(14);

    root->addWidget(makeHeader());
    root->addWidget(makeControls());

    auto *comparison = new QHBoxLayout;
    comparison->setSpacing(12);
    originalPane_ = new ComparisonPane(QStringLiteral("Original · auf Vergleichsauflösung skaliert"), model_.get(),
                                       ComparisonPane::Side::Original, this);
    originalPane_->setObjectName(QStringLiteral("originalPane"));
    encodedPane_ =
        new ComparisonPane(QStringLiteral("HEVC · Vorschau"), model_.get(), ComparisonPane::Side::Encoded, this);
    encodedPane_->setObjectName(QStringLiteral("encodedPane"));
    comparison->addWidget(originalPane_, 1);
    comparison->addWidget(encodedPane_, 1);
    root->addLayout(comparison, 1);

    root->addWidget(makeZoomRow());

    errorArea_ = new QScrollArea(this);
    errorArea_->setObjectName(QStringLiteral("errorArea"));
    errorArea_->setFrameShape(QFrame::NoFrame);
    errorArea_->setWidgetResizable(true);
    errorArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    errorArea_->setMaximumHeight(80);
    errorLabel_ = new QLabel(errorArea_);
    errorLabel_->setObjectName(QStringLiteral("errorLabel"));
    errorLabel_->setTextFormat(Qt::PlainText);
    errorLabel_->setWordWrap(true);
    errorLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    errorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    errorLabel_->setFont(TextStyles::caption());
    QPalette red = errorLabel_->palette();
    red.setColor(QPalette::WindowText, TextStyles::errorRed());
    errorLabel_->setPalette(red);
    errorArea_->setWidget(errorLabel_);
    root->addWidget(errorArea_);

    root->addWidget(makeStatusRow());

    auto *note =
        new QLabel(QStringLiteral("Nach einer Slideränderung wird automatisch neu kodiert. Währenddessen bleibt der "
                                  "letzte Vergleich sichtbar. Kurze Ausschnitte können die Zielbitrate überschreiten; "
                                  "mehrere dunkle, bewegte und detailreiche Szenen prüfen."),
                   this);
    note->setWordWrap(true);
    TextStyles::apply(note, TextStyles::caption(), true);
    root->addWidget(note);

    // A real change of a setting asks for a new comparison after the pause.
    new SettingsObserver(model_.get(), this);

    model_->setFileChooser([this]() -> std::optional<QString> {
        const QString path = QFileDialog::getOpenFileName(this, openMovieText(), QString(),
                                                          videoFileFilters().join(QLatin1String(";;")));
        if (path.isEmpty())
            return std::nullopt;
        return path;
    });

    GlanceModel *m = model_.get();
    connect(m, &GlanceModel::movieChanged, this, &GlanceView::showMovie);
    connect(m, &GlanceModel::secondsChanged, this, &GlanceView::showSeconds);
    connect(m, &GlanceModel::mbpsChanged, this, &GlanceView::showMbps);
    connect(m, &GlanceModel::maxHeightChanged, this, &GlanceView::showMaxHeight);
    connect(m, &GlanceModel::busyChanged, this, &GlanceView::showBusy);
    connect(m, &GlanceModel::statusChanged, this, &GlanceView::showStatus);
    connect(m, &GlanceModel::measurementChanged, this, &GlanceView::showStatus);
    connect(m, &GlanceModel::errorChanged, this, &GlanceView::showError);
    connect(m, &GlanceModel::zoomChanged, this, &GlanceView::showZoom);

    showMovie();
    showSeconds();
    showMbps();
    showMaxHeight();
    showBusy();
    showStatus();
    showError();
    showZoom();

    reader_ = new GlanceWindowReader(this, [this](QWidget *window) {
        window_ = window;
        updateFitAction();
    });
}

GlanceView::~GlanceView()
{
    // Take the widgets and the observer down while the model is certainly still alive; a running
    // job may keep the model for a while after the view is gone.
    model_->setFileChooser({});
    while (!children().isEmpty())
        delete children().constFirst();
}

QString GlanceView::openMovieText()
{
    return QStringLiteral("Film öffnen …");
}

QString GlanceView::heightLimitText(qint64 maxHeight)
{
    if (maxHeight == 0)
        return QStringLiteral("Quelle");
    return QStringLiteral("max. %1p").arg(maxHeight);
}

QString GlanceView::sourceLineText(const MovieInfo &movie)
{
    QString text = QStringLiteral("Quelle: %1 · %2 × %3").arg(movie.codec.toUpper()).arg(movie.width).arg(movie.height);
    if (movie.bitrate)
        text += QString::asprintf(" · %.2f Mbit/s", *movie.bitrate / 1'000'000.0);
    return text;
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
    row->addWidget(icon);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(4);
    auto *title = new QLabel(QStringLiteral("Bitglance"), header);
    title->setFont(TextStyles::title2());
    titles->addWidget(title);
    subtitle_ = new QLabel(header);
    subtitle_->setObjectName(QStringLiteral("subtitle"));
    subtitle_->setTextFormat(Qt::PlainText);
    subtitle_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    subtitle_->installEventFilter(this);
    TextStyles::apply(subtitle_, QApplication::font(), true);
    titles->addWidget(subtitle_);
    row->addLayout(titles, 1);

    openButton_ = new QPushButton(openMovieText(), header);
    openButton_->setObjectName(QStringLiteral("openButton"));
    openButton_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    openButton_->setDefault(true);
    QPalette accent = openButton_->palette();
    accent.setColor(QPalette::Button, accent.color(QPalette::Highlight));
    accent.setColor(QPalette::ButtonText, accent.color(QPalette::HighlightedText));
    openButton_->setPalette(accent);
    connect(openButton_, &QPushButton::clicked, this, [this] { model_->openMovie(); });
    row->addWidget(openButton_);
    return header;
}

QWidget *GlanceView::makeControls()
{
    controls_ = new QFrame(this);
    controls_->setObjectName(QStringLiteral("controls"));
    controls_->installEventFilter(this); // paints the rounded background
    auto *rows = new QVBoxLayout(controls_);
    rows->setContentsMargins(14, 14, 14, 14);
    rows->setSpacing(12);

    // Scene
    auto *scene = new QHBoxLayout;
    scene->addWidget(boxedLabel(QStringLiteral("Szene"), 76, Qt::AlignLeft, controls_));
    sceneSlider_ = new QSlider(Qt::Horizontal, controls_);
    sceneSlider_->setObjectName(QStringLiteral("sceneSlider"));
    sceneSlider_->setSingleStep(100);
    sceneSlider_->setPageStep(1000);
    connect(sceneSlider_, &QSlider::valueChanged, this, [this](int value) {
        if (!syncing_)
            model_->setSeconds(value / sceneScale);
    });
    scene->addWidget(sceneSlider_, 1);
    timeLabel_ = boxedLabel(QString(), 80, Qt::AlignHCenter, controls_);
    timeLabel_->setObjectName(QStringLiteral("timeLabel"));
    scene->addWidget(timeLabel_);
    backButton_ = compactButton(QStringLiteral("−1 s"), controls_);
    backButton_->setObjectName(QStringLiteral("backButton"));
    connect(backButton_, &QPushButton::clicked, this,
            [this] { model_->setSeconds(std::max(model_->seconds() - 1, 0.0)); });
    scene->addWidget(backButton_);
    forwardButton_ = compactButton(QStringLiteral("+1 s"), controls_);
    forwardButton_->setObjectName(QStringLiteral("forwardButton"));
    connect(forwardButton_, &QPushButton::clicked, this, [this] {
        // Stops a tenth of a second before the end, at 0 for a film shorter than that.
        model_->setSeconds(std::min(model_->seconds() + 1, std::max(duration() - 0.1, 0.0)));
    });
    scene->addWidget(forwardButton_);
    rows->addLayout(scene);

    // Bitrate
    auto *bitrate = new QHBoxLayout;
    bitrate->addWidget(boxedLabel(QStringLiteral("Bitrate"), 76, Qt::AlignLeft, controls_));
    bitrateSlider_ = new QSlider(Qt::Horizontal, controls_);
    bitrateSlider_->setObjectName(QStringLiteral("bitrateSlider"));
    bitrateSlider_->setRange(toSlider(ComparisonLimits::minMbps, bitrateScale),
                             toSlider(ComparisonLimits::maxMbps, bitrateScale));
    bitrateSlider_->setPageStep(10);
    connect(bitrateSlider_, &QSlider::valueChanged, this, [this](int value) {
        if (!syncing_)
            model_->setMbps(value / bitrateScale);
    });
    bitrate->addWidget(bitrateSlider_, 1);
    bitrateLabel_ = boxedLabel(QString(), 100, Qt::AlignHCenter, controls_);
    bitrateLabel_->setObjectName(QStringLiteral("bitrateLabel"));
    bitrate->addWidget(bitrateLabel_);
    for (const double preset : ComparisonLimits::presetMbps) {
        auto *button = compactButton(QString::asprintf("%g", preset), controls_);
        button->setObjectName(QStringLiteral("preset"));
        connect(button, &QPushButton::clicked, this, [this, preset] { model_->setMbps(preset); });
        presetButtons_ += button;
        bitrate->addWidget(button);
    }
    rows->addLayout(bitrate);

    // Resolution
    auto *resolution = new QHBoxLayout;
    auto *resolutionBox = new QWidget(controls_);
    resolutionBox->setFixedWidth(240);
    auto *boxRow = new QHBoxLayout(resolutionBox);
    boxRow->setContentsMargins(0, 0, 0, 0);
    boxRow->addStretch(1);
    boxRow->addWidget(new QLabel(QString::fromUtf8(resolutionText), resolutionBox));
    resolutionButton_ = new QToolButton(resolutionBox);
    resolutionButton_->setObjectName(QStringLiteral("resolutionButton"));
    resolutionButton_->setPopupMode(QToolButton::InstantPopup);
    resolutionButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    resolutionButton_->setMinimumWidth(100);
    resolutionMenu_ = new QMenu(resolutionButton_);
    resolutionMenu_->addSection(QString::fromUtf8(resolutionText));
    heightGroup_ = new QActionGroup(resolutionMenu_);
    heightGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const qint64 limit : ComparisonLimits::heightLimits) {
        QAction *action = resolutionMenu_->addAction(heightLimitText(limit));
        action->setCheckable(true);
        action->setData(limit);
        heightGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, limit] {
            model_->setMaxHeight(limit);
            showMaxHeight(); // choosing the checked item again must leave it checked
        });
    }
    resolutionMenu_->addSeparator();
    fitAction_ = resolutionMenu_->addAction(QStringLiteral("Fenster auf Quelle anpassen"));
    connect(fitAction_, &QAction::triggered, this, &GlanceView::fitWindowToSource);
    connect(resolutionMenu_, &QMenu::aboutToShow, this, &GlanceView::updateFitAction);
    resolutionButton_->setMenu(resolutionMenu_);
    boxRow->addWidget(resolutionButton_);
    boxRow->addStretch(1);
    resolution->addWidget(resolutionBox);

    sourceLine_ = new QLabel(controls_);
    sourceLine_->setObjectName(QStringLiteral("sourceLine"));
    TextStyles::apply(sourceLine_, TextStyles::caption(), true);
    resolution->addWidget(sourceLine_);
    resolution->addStretch(1);

    recomputeButton_ = new QPushButton(controls_);
    recomputeButton_->setObjectName(QStringLiteral("recomputeButton"));
    auto *label = new QHBoxLayout(recomputeButton_);
    label->setContentsMargins(12, 4, 12, 4);
    label->setSpacing(7);
    recomputeIcon_ = new QStackedWidget(recomputeButton_);
    recomputeIcon_->setFixedSize(14, 14);
    auto *arrow = new QLabel(recomputeIcon_);
    arrow->setPixmap(AppIcons::pixmap(AppIcons::Symbol::Refresh, QSize(14, 14), palette().color(QPalette::ButtonText),
                                      devicePixelRatioF()));
    recomputeIcon_->addWidget(arrow);
    auto *spinner = new BusySpinner(14, recomputeIcon_);
    spinner->setObjectName(QStringLiteral("recomputeSpinner"));
    recomputeIcon_->addWidget(spinner);
    label->addWidget(recomputeIcon_);
    auto *text = new QLabel(QStringLiteral("Neu berechnen"), recomputeButton_);
    label->addWidget(text);
    recomputeIcon_->setAttribute(Qt::WA_TransparentForMouseEvents);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    recomputeButton_->setMinimumSize(label->sizeHint().expandedTo(recomputeButton_->sizeHint()));
    connect(recomputeButton_, &QPushButton::clicked, this, [this] { model_->schedulePreview(true); });
    resolution->addWidget(recomputeButton_);
    rows->addLayout(resolution);

    return controls_;
}

QWidget *GlanceView::makeZoomRow()
{
    auto *zoom = new QWidget(this);
    auto *row = new QHBoxLayout(zoom);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(boxedLabel(QStringLiteral("Zoom"), 45, Qt::AlignLeft, zoom));
    zoomSlider_ = new QSlider(Qt::Horizontal, zoom);
    zoomSlider_->setObjectName(QStringLiteral("zoomSlider"));
    zoomSlider_->setRange(toSlider(ComparisonLimits::minZoom, zoomScale),
                          toSlider(ComparisonLimits::maxZoom, zoomScale));
    zoomSlider_->setMaximumWidth(240);
    zoomSlider_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    zoomSlider_->setSingleStep(10);
    zoomSlider_->setPageStep(50);
    connect(zoomSlider_, &QSlider::valueChanged, this, [this](int value) {
        if (!syncing_)
            model_->setZoom(value / zoomScale);
    });
    row->addWidget(zoomSlider_, 1);
    zoomLabel_ = boxedLabel(QString(), 45, Qt::AlignHCenter, zoom);
    zoomLabel_->setObjectName(QStringLiteral("zoomLabel"));
    row->addWidget(zoomLabel_);
    fitZoomButton_ = new QPushButton(QStringLiteral("Einpassen"), zoom);
    fitZoomButton_->setObjectName(QStringLiteral("fitZoomButton"));
    connect(fitZoomButton_, &QPushButton::clicked, this, [this] {
        model_->setZoom(1);
        model_->setPan(QSizeF(0, 0));
    });
    row->addWidget(fitZoomButton_);
    actualPixelsButton_ = new QPushButton(QStringLiteral("100 %"), zoom);
    actualPixelsButton_->setObjectName(QStringLiteral("actualPixelsButton"));
    connect(actualPixelsButton_, &QPushButton::clicked, this, [this] { model_->zoomToActualPixels(); });
    row->addWidget(actualPixelsButton_);
    auto *hint = new QLabel(QStringLiteral("Bild ziehen: beide Ansichten verschieben · Doppelklick: einpassen"), zoom);
    TextStyles::apply(hint, TextStyles::caption(), true);
    row->addWidget(hint);
    row->addStretch(1);
    return zoom;
}

QWidget *GlanceView::makeStatusRow()
{
    auto *status = new QWidget(this);
    auto *row = new QHBoxLayout(status);
    row->setContentsMargins(0, 0, 0, 0);
    statusSpinner_ = new BusySpinner(16, status);
    statusSpinner_->setObjectName(QStringLiteral("statusSpinner"));
    row->addWidget(statusSpinner_);
    auto *lines = new QVBoxLayout;
    lines->setSpacing(3);
    statusLabel_ = new QLabel(status);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setTextFormat(Qt::PlainText);
    statusLabel_->setFont(TextStyles::callout());
    lines->addWidget(statusLabel_);
    measurementLabel_ = new QLabel(status);
    measurementLabel_->setObjectName(QStringLiteral("measurementLabel"));
    measurementLabel_->setTextFormat(Qt::PlainText);
    TextStyles::apply(measurementLabel_, TextStyles::caption(), true);
    lines->addWidget(measurementLabel_);
    row->addLayout(lines);
    row->addStretch(1);
    auto *encoder = new QLabel(QStringLiteral("SDR · HEVC / x265 · ohne Ton"), status);
    TextStyles::apply(encoder, TextStyles::caption(), true);
    row->addWidget(encoder);
    return status;
}

double GlanceView::duration() const
{
    return model_->movie() ? model_->movie()->duration : 1.0;
}

void GlanceView::showMovie()
{
    const std::optional<MovieInfo> &movie = model_->movie();
    subtitleText_ =
        movie ? QFileInfo(movie->path()).fileName() : QStringLiteral("Bitrate und Bildqualität vergleichen");
    if (movie && subtitleText_.isEmpty())
        subtitleText_ = movie->url.fileName();
    elideSubtitle();
    subtitle_->setToolTip(movie ? subtitleText_ : QString());

    controls_->setEnabled(movie.has_value());
    sourceLine_->setVisible(movie.has_value());
    sourceLine_->setText(movie ? sourceLineText(*movie) : QString());
    {
        const QScopedValueRollback guard(syncing_, true);
        sceneSlider_->setRange(0, toSlider(std::max(duration() - 0.1, 1.0), sceneScale));
    }
    showSeconds();
    updateFitAction();
}

void GlanceView::showSeconds()
{
    {
        const QScopedValueRollback guard(syncing_, true);
        sceneSlider_->setValue(toSlider(model_->seconds(), sceneScale));
    }
    timeLabel_->setText(timeText(model_->seconds()));
}

void GlanceView::showMbps()
{
    {
        const QScopedValueRollback guard(syncing_, true);
        bitrateSlider_->setValue(toSlider(model_->mbps(), bitrateScale));
    }
    bitrateLabel_->setText(QString::asprintf("%.1f Mbit/s", model_->mbps()));
}

void GlanceView::showMaxHeight()
{
    const qint64 limit = model_->maxHeight();
    resolutionButton_->setText(heightLimitText(limit));
    const QList<QAction *> actions = heightGroup_->actions();
    for (QAction *action : actions)
        action->setChecked(action->data().toLongLong() == limit);
}

void GlanceView::showBusy()
{
    const bool busy = model_->busy();
    statusSpinner_->setVisible(busy);
    recomputeIcon_->setCurrentIndex(busy ? 1 : 0);
    recomputeButton_->setEnabled(!busy);
}

void GlanceView::showStatus()
{
    statusLabel_->setText(model_->status());
    measurementLabel_->setText(model_->measurement());
    measurementLabel_->setVisible(!model_->measurement().isEmpty());
}

void GlanceView::showError()
{
    const std::optional<QString> &error = model_->error();
    errorLabel_->setText(error.value_or(QString()));
    errorArea_->setVisible(error.has_value());
    updateErrorHeight();
}

void GlanceView::showZoom()
{
    {
        const QScopedValueRollback guard(syncing_, true);
        zoomSlider_->setValue(toSlider(model_->zoom(), zoomScale));
    }
    zoomLabel_->setText(QString::asprintf("%.1f×", model_->zoom()));
}

void GlanceView::updateFitAction()
{
    fitAction_->setEnabled(model_->movie() && window_ && !(window_->windowState() & Qt::WindowFullScreen));
}

void GlanceView::updateErrorHeight()
{
    if (!errorArea_->isVisibleTo(this))
        return;
    // As tall as the text, at most 80 points; longer texts scroll.
    const int width = std::max(1, errorArea_->width());
    errorArea_->setFixedHeight(std::min(80, errorLabel_->heightForWidth(width)));
}

void GlanceView::elideSubtitle()
{
    subtitle_->setText(
        subtitle_->fontMetrics().elidedText(subtitleText_, Qt::ElideRight, std::max(0, subtitle_->width())));
}

bool GlanceView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == controls_ && event->type() == QEvent::Paint) {
        QPainter painter(controls_);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(controls_->rect()), 10, 10);
        QColor faint = palette().color(QPalette::WindowText);
        faint.setAlphaF(0.06);
        painter.fillPath(shape, faint);
    } else if (watched == subtitle_ && event->type() == QEvent::Resize) {
        elideSubtitle();
    }
    return QWidget::eventFilter(watched, event);
}

void GlanceView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateErrorHeight();
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
    model_->openMovie(urls.constFirst().toLocalFile());
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

    const QRect content = window_->geometry();
    const QRect frame = window_->frameGeometry();
    WindowFit fit;
    fit.movie = QSizeF(movie->width, movie->height);
    fit.previewSize = model_->previewSize();
    fit.content = content.size();
    fit.scale = window_->devicePixelRatioF();
    fit.decorations = QMarginsF(content.x() - frame.x(), content.y() - frame.y(),
                                (frame.x() + frame.width()) - (content.x() + content.width()),
                                (frame.y() + frame.height()) - (content.y() + content.height()));
    fit.visibleArea = screen->availableGeometry();
    fit.currentFrame = frame;
    const QRectF target = fit.newFrame();

    if (window_->windowState() & Qt::WindowMaximized)
        window_->setWindowState(window_->windowState() & ~Qt::WindowMaximized);
    window_->resize(qRound(target.width() - fit.decorations.left() - fit.decorations.right()),
                    qRound(target.height() - fit.decorations.top() - fit.decorations.bottom()));
    window_->move(qRound(target.x()), qRound(target.y()));
}
