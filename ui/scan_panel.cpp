#include "ui/scan_panel.h"

#include "analysis/scene_plan.h"
#include "analysis/scene_texts.h"
#include "engine/comparison_texts.h"
#include "engine/quality_texts.h"
#include "model/glance_model.h"
#include "model/scan_model.h"
#include "ui/bitrate_target_dialog.h"
#include "ui/progress_row.h"
#include "ui/scan_results_window.h"
#include "ui/scene_strip.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

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
    return QStringLiteral("Szenen prüfen");
}
QString findText()
{
    return QStringLiteral("Bitrate finden …");
}
// The finder's dialog title and its progress bar's name.
QString findTitle()
{
    return QStringLiteral("Bitrate finden");
}

// "Szene 3 von 12 · noch ca. 1 min": the scene being worked on, and the time left once known; in the
// finder, the scene of its scan or its round, after the round: "Runde 2 · Szene 3 von 12 · …".
QString progressText(const ScanProgress &progress)
{
    const bool finder = progress.roundScenes > 0;
    const int total = std::max(finder ? progress.roundScenes : progress.total, 1);
    QString text = QStringLiteral("Szene %1 von %2")
                       .arg(std::min((finder ? progress.roundDone : progress.done) + 1, total))
                       .arg(total);
    if (progress.round > 0)
        text = QStringLiteral("Runde %1 · ").arg(progress.round) + text;
    if (progress.remainingSeconds >= 0)
        text += QStringLiteral(" · ") + ViewTexts::remaining(progress.remainingSeconds);
    return text;
}

// "12 Szenen geprüft · schlechteste bei 00:01:10: SSIM 0.9123"
QString scanOutcomeText(const QList<SceneResult> &scenes)
{
    const ScenePlan::Summary summary = *ScenePlan::summarize(scenes);
    return QStringLiteral("%1 Szenen geprüft · schlechteste bei %2: SSIM %3")
        .arg(scenes.size())
        .arg(sceneTimeText(summary.worstSeconds, scenes), ssimText(summary.worstSsim));
}

// "Gefunden: 3.4 Mbit/s für SSIM 0.9600 · schlechteste Szene bei 00:01:10: SSIM 0.9612"
QString finderOutcomeText(const FinderResult &found)
{
    return QStringLiteral("Gefunden: %1 für SSIM %2 · schlechteste Szene bei %3: SSIM %4")
        .arg(mbpsText(*found.mbps, 1), ssimText(found.targetSsim), timeText(found.worstSeconds),
             ssimText(found.worstSsim));
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
    results_ = new ScanResultsWindow(scans_, this);

    connect(strip_, &SceneStrip::sceneClicked, scans_, &ScanModel::showScene);
    connect(scans_, &ScanModel::activityChanged, this, &ScanPanel::showActivity);
    connect(scans_, &ScanModel::progressChanged, this, &ScanPanel::showProgress);
    connect(scans_, &ScanModel::scenesChanged, this, [this] {
        strip_->setScenes(scans_->scenes());
        showOutcome();
    });
    connect(scans_, &ScanModel::finderResultChanged, this, [this] {
        showOutcome();
        if (scans_->finderResult() && scans_->finderResult()->mbps)
            openResults();
    });
    connect(scans_, &ScanModel::errorChanged, this, &ScanPanel::showOutcome);
    connect(model_, &GlanceModel::movieChanged, this, &ScanPanel::showActivity);
    showActivity();
}

QWidget *ScanPanel::makeButtons()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    scanButton_ = new QPushButton(scanText(), box);
    scanButton_->setObjectName(QStringLiteral("scanButton"));
    scanButton_->setToolTip(QStringLiteral("Szenen über den ganzen Film verteilt bei dieser Bitrate vergleichen und "
                                           "messen; die schlechtesten zeigt der Streifen unter dem Regler rot"));
    connect(scanButton_, &QPushButton::clicked, scans_, [this] { scans_->scan(); });
    row->addWidget(scanButton_);
    findButton_ = new QPushButton(findText(), box);
    findButton_->setObjectName(QStringLiteral("findButton"));
    findButton_->setToolTip(QStringLiteral("Die niedrigste Bitrate suchen, bei der auch die schlechtesten Szenen eine "
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
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), progressRow_);
    cancel->setObjectName(QStringLiteral("scanCancelButton"));
    connect(cancel, &QPushButton::clicked, scans_, &ScanModel::cancel);
    row->addWidget(cancel);
    row->addStretch(1);
    return progressRow_;
}

QWidget *ScanPanel::makeOutcomeRow()
{
    outcomeRow_ = new QWidget(this);
    auto *row = new QHBoxLayout(outcomeRow_);
    row->setContentsMargins(0, 0, 0, 0);
    outcomeLabel_ = new QLabel(outcomeRow_);
    outcomeLabel_->setObjectName(QStringLiteral("scanOutcome"));
    outcomeLabel_->setTextFormat(Qt::PlainText);
    outcomeLabel_->setWordWrap(true);
    outcomeLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    TextStyles::apply(outcomeLabel_, TextStyles::caption(), true);
    row->addWidget(outcomeLabel_, 1);
    listButton_ = new QPushButton(QStringLiteral("Szenenliste"), outcomeRow_);
    listButton_->setObjectName(QStringLiteral("sceneListButton"));
    listButton_->setToolTip(QStringLiteral("Die geprüften Szenen als Liste, nach einer Bitratensuche mit Diagramm"));
    connect(listButton_, &QPushButton::clicked, this, &ScanPanel::openResults);
    row->addWidget(listButton_);
    return outcomeRow_;
}

void ScanPanel::findBitrate()
{
    if (const std::optional<double> target = BitrateTargetDialog::ask(findTitle(), this))
        scans_->findBitrate(*target);
}

void ScanPanel::openResults()
{
    results_->present();
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
}

void ScanPanel::showOutcome()
{
    const bool idle = !scans_->running();
    const std::optional<FinderResult> &found = scans_->finderResult();
    QString text;
    if (!scans_->scenes().isEmpty())
        text = scanOutcomeText(scans_->scenes());
    else if (found && found->mbps)
        text = finderOutcomeText(*found);
    const std::optional<QString> &error = scans_->error();
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, error ? TextStyles::errorRed() : TextStyles::secondary(palette()));
    outcomeLabel_->setPalette(colours);
    outcomeLabel_->setText(error.value_or(text));
    listButton_->setVisible(!scans_->scenes().isEmpty() || found.has_value());
    outcomeRow_->setVisible(idle && (!text.isEmpty() || error));
}
