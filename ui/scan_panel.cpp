#include "ui/scan_panel.h"

#include "analysis/scene_plan.h"
#include "analysis/scene_texts.h"
#include "engine/comparison_texts.h"
#include "engine/encoder_catalogue.h"
#include "engine/quality_texts.h"
#include "model/glance_model.h"
#include "model/scan_model.h"
#include "ui/bitrate_target_dialog.h"
#include "ui/progress_row.h"
#include "ui/scan_results_panel.h"
#include "ui/scene_strip.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Activity = ScanModel::Activity;

QString scanText()
{
    return QCoreApplication::translate("ScanPanel", "Szenen prüfen");
}
QString findText()
{
    return QCoreApplication::translate("ScanPanel", "Bitrate finden …");
}
// The finder's dialog title and its progress bar's name.
QString findTitle()
{
    return QCoreApplication::translate("ScanPanel", "Bitrate finden");
}

// "Szene 3 von 12 · noch ca. 1 min": the scene being worked on, and the time left once known; in the
// finder, the scene of its scan or its round, after the round: "Runde 2 · Szene 3 von 12 · …".
QString progressText(const ScanProgress &progress)
{
    const bool finder = progress.roundScenes > 0;
    const int total = std::max(finder ? progress.roundScenes : progress.total, 1);
    QString text = QCoreApplication::translate("ScanPanel", "Szene %1 von %2")
                       .arg(std::min((finder ? progress.roundDone : progress.done) + 1, total))
                       .arg(total);
    if (progress.round > 0)
        text = QCoreApplication::translate("ScanPanel", "Runde %1 · %2").arg(QString::number(progress.round), text);
    if (progress.remainingSeconds >= 0)
        text += QStringLiteral(" · ") + ViewTexts::remaining(progress.remainingSeconds);
    return text;
}

// "12 Szenen geprüft · schlechteste bei 00:01:10: SSIM 0.9123"
QString scanOutcomeText(const QList<SceneResult> &scenes)
{
    const ScenePlan::Summary summary = *ScenePlan::summarize(scenes);
    // One scene once a running scan has rendered its first.
    const QString time = sceneTimeText(summary.worstSeconds, scenes);
    if (scenes.size() == 1)
        return QCoreApplication::translate("ScanPanel", "1 Szene geprüft · bei %1: SSIM %2")
            .arg(time, ssimText(summary.worstSsim));
    return QCoreApplication::translate("ScanPanel", "%1 Szenen geprüft · schlechteste bei %2: SSIM %3")
        .arg(QString::number(scenes.size()), time, ssimText(summary.worstSsim));
}

// "2.0 Mbit/s", with ", max. 720p" and ", HEVC / x265 slow · 10 bit" where the height limit and the
// encoder setting are to be named.
QString settingsText(double mbps, qint64 maxHeight, const EncoderSetting &encoder, bool withHeight, bool withEncoder)
{
    QString text = mbpsText(mbps, 1);
    if (withHeight)
        text += QStringLiteral(", ") + ViewTexts::heightLimit(maxHeight);
    if (withEncoder)
        text += QStringLiteral(", ") + EncoderCatalogue::settingText(encoder);
    return text;
}

} // namespace

ScanPanel::ScanPanel(GlanceModel *model, QSlider *sceneSlider, double valuesPerSecond, QWidget *parent)
    : QWidget(parent), model_(model), scans_(new ScanModel(model_, this))
{
    setObjectName(QStringLiteral("scanPanel"));
    buttons_ = makeButtons();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    strip_ = new SceneStrip(sceneSlider, valuesPerSecond, this);
    strip_->setObjectName(QStringLiteral("sceneStrip"));
    column->addWidget(strip_);
    column->addWidget(makeProgressRow());
    column->addWidget(makeOutcomeRow());
    results_ = new ScanResultsPanel(scans_, this);
    results_->hide();
    connect(results_, &ScanResultsPanel::shownChanged, listButton_, &QPushButton::setChecked);

    connect(strip_, &SceneStrip::sceneClicked, scans_, &ScanModel::showScene);
    connect(scans_, &ScanModel::activityChanged, this, &ScanPanel::showActivity);
    connect(scans_, &ScanModel::progressChanged, this, &ScanPanel::showProgress);
    connect(scans_, &ScanModel::scenesChanged, this, [this] {
        strip_->setScenes(scans_->scenes());
        showStrip();
        showOutcome();
    });
    connect(scans_, &ScanModel::finderResultChanged, this, [this] {
        showOutcome();
        if (scans_->finderResult() && scans_->running()) // a run's new result, not one set from outside
            results_->show();
    });
    connect(scans_, &ScanModel::errorChanged, this, &ScanPanel::showOutcome);
    connect(model_, &GlanceModel::movieChanged, this, &ScanPanel::showActivity);
    // The strip greys and its title names the settings once they are not the comparison's; the
    // progress says what follows a run.
    for (const auto changed : {&GlanceModel::mbpsChanged, &GlanceModel::maxHeightChanged, &GlanceModel::encoderChanged})
        connect(model_, changed, this, [this] {
            showStrip();
            showProgress();
        });
    connect(model_, &GlanceModel::secondsChanged, this, [this] { strip_->setCurrentSeconds(model_->seconds()); });
    strip_->setCurrentSeconds(model_->seconds());
    showActivity();
}

QWidget *ScanPanel::makeButtons()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    scanButton_ = new QPushButton(scanText(), box);
    scanButton_->setObjectName(QStringLiteral("scanButton"));
    scanButton_->setToolTip(tr("Szenen über den ganzen Film verteilt bei dieser Bitrate vergleichen und "
                               "messen; die schlechtesten zeigt der Streifen unter dem Regler rot"));
    connect(scanButton_, &QPushButton::clicked, scans_, [this] { scans_->scan(); });
    row->addWidget(scanButton_);
    findButton_ = new QPushButton(findText(), box);
    findButton_->setObjectName(QStringLiteral("findButton"));
    findButton_->setToolTip(tr("Die niedrigste Bitrate suchen, bei der auch die schlechtesten Szenen eine "
                               "Zielqualität erreichen"));
    connect(findButton_, &QPushButton::clicked, this, &ScanPanel::findBitrate);
    row->addWidget(findButton_);
    // Their keys work in the whole window while the buttons do.
    for (const auto &[button, keys] : {std::pair(scanButton_, QKeySequence(Qt::CTRL | Qt::Key_P)),
                                       std::pair(findButton_, QKeySequence(Qt::CTRL | Qt::Key_B))}) {
        button->setShortcut(keys);
        button->setToolTip(ViewTexts::withKey(button->toolTip(), keys));
    }
    return box;
}

QWidget *ScanPanel::makeProgressRow()
{
    progressRow_ = new QWidget(this);
    auto *row = new QHBoxLayout(progressRow_);
    row->setContentsMargins(0, 0, 0, 0);
    progress_ = new ProgressRow(QStringLiteral("scanProgress"), QStringLiteral("scanProgressLabel"), 180, progressRow_);
    row->addWidget(progress_);
    auto *cancel = new QPushButton(tr("Abbrechen"), progressRow_);
    cancel->setObjectName(QStringLiteral("scanCancelButton"));
    connect(cancel, &QPushButton::clicked, scans_, &ScanModel::cancel);
    row->addWidget(cancel);
    runNotice_ = new QLabel(progressRow_);
    runNotice_->setObjectName(QStringLiteral("scanRunNotice"));
    runNotice_->setTextFormat(Qt::PlainText);
    runNotice_->setWordWrap(true);
    TextStyles::apply(runNotice_, TextStyles::caption(), true);
    row->addWidget(runNotice_, 1);
    return progressRow_;
}

QWidget *ScanPanel::makeOutcomeRow()
{
    outcomeRow_ = new QWidget(this);
    auto *row = new QHBoxLayout(outcomeRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    const auto label = [this](const QString &name) {
        auto *text = new QLabel(outcomeRow_);
        text->setObjectName(name);
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        TextStyles::apply(text, TextStyles::caption(), true);
        return text;
    };
    stripTitle_ = label(QStringLiteral("sceneStripTitle"));
    row->addWidget(stripTitle_, 1);
    outcomeLabel_ = label(QStringLiteral("scanOutcome"));
    row->addWidget(outcomeLabel_, 1);
    listButton_ = new QPushButton(tr("Szenenliste"), outcomeRow_);
    listButton_->setObjectName(QStringLiteral("sceneListButton"));
    listButton_->setCheckable(true);
    listButton_->setToolTip(tr("Die geprüften Szenen als Liste und das Diagramm der Bitratensuche neben "
                               "den Bildern zeigen oder ausblenden"));
    connect(listButton_, &QPushButton::toggled, this, [this](bool shown) {
        if (shown && !results_->isVisible())
            results_->present();
        else if (!shown)
            results_->hide();
        connect(results_, &ScanResultsPanel::shownChanged, listButton_, &QPushButton::setChecked);
    });
    row->addWidget(listButton_, 0, Qt::AlignTop);
    return outcomeRow_;
}

void ScanPanel::findBitrate()
{
    if (const std::optional<double> target = BitrateTargetDialog::ask(findTitle(), this))
        scans_->findBitrate(*target);
}

QString ScanPanel::stripTitle() const
{
    if (scans_->scenes().isEmpty())
        return QString();
    return tr("Szenen bei %1")
        .arg(settingsText(scans_->scenesMbps(), scans_->scenesMaxHeight(), scans_->scenesEncoder(),
                          scans_->scenesMaxHeight() != model_->maxHeight(),
                          scans_->scenesEncoder() != model_->encoder()));
}

void ScanPanel::showStrip()
{
    strip_->setGreyed(!scans_->scenesCurrent());
    const QString title = stripTitle();
    strip_->setAccessibleName(title);
    stripTitle_->setText(title.isEmpty() ? title : title + QStringLiteral(" · ") + scanOutcomeText(scans_->scenes()));
    stripTitle_->setVisible(!title.isEmpty());
}

void ScanPanel::showActivity()
{
    const Activity activity = scans_->activity();
    const bool idle = activity == Activity::Idle;
    const bool ready = idle && model_->movie() && model_->engine();
    scanButton_->setEnabled(ready);
    findButton_->setEnabled(ready);
    progressRow_->setVisible(!idle);
    progress_->bar()->setAccessibleName(activity == Activity::Finding ? findTitle() : scanText());
    showProgress();
    showOutcome();
}

void ScanPanel::showProgress()
{
    const ScanProgress &progress = scans_->progress();
    // In hundredths of a scene, so that the bar moves while a scene is rendered.
    progress_->setCount(qint64(progress.work * 100), std::max(progress.total, 1) * 100);
    progress_->setCaption(progressText(progress));
    // A scan ends at its own settings; the comparison at the new ones waits for it.
    const bool heights = scans_->runMaxHeight() != model_->maxHeight();
    const bool encoders = scans_->runEncoder() != model_->encoder();
    const bool moved = heights || encoders || scans_->runMbps() != model_->mbps();
    const bool scanning = scans_->activity() == Activity::Scanning;
    runNotice_->setText(
        scanning && moved
            ? tr("Prüfung läuft bei %1 zu Ende, danach Vergleich bei %2.")
                  .arg(settingsText(scans_->runMbps(), scans_->runMaxHeight(), scans_->runEncoder(), heights, encoders),
                       settingsText(model_->mbps(), model_->maxHeight(), model_->encoder(), heights, encoders))
            : QString());
}

void ScanPanel::showOutcome()
{
    const bool idle = !scans_->running();
    const std::optional<FinderResult> &found = scans_->finderResult();
    const std::optional<QString> &error = scans_->error();
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, error ? TextStyles::errorRed() : TextStyles::secondary(palette()));
    outcomeLabel_->setPalette(colours);
    // A failure says so until the next run; a finder's outcome stays, as its chart does.
    const QString text = error.value_or(found && found->mbps ? ScanResultsPanel::finderText(*found) : QString());
    const QString holds = found ? QStringLiteral(" · ") + ScanResultsPanel::holdsText(scans_->state()) : QString();
    outcomeLabel_->setText(idle && !text.isEmpty() ? text + holds : QString());
    outcomeLabel_->setVisible(idle && !text.isEmpty());
    const bool any = !scans_->scenes().isEmpty() || found.has_value();
    listButton_->setVisible(any);
    outcomeRow_->setVisible(any || (idle && error));
}
