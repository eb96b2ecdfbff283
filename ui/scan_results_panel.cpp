#include "ui/scan_results_panel.h"

#include "analysis/bitrate_finder.h"
#include "engine/comparison_limits.h"
#include "engine/comparison_texts.h"
#include "engine/encoder_catalogue.h"
#include "engine/quality_texts.h"
#include "model/scan_model.h"
#include "ui/quality_chart.h"
#include "ui/scene_list.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    TextStyles::apply(label, TextStyles::caption(), true);
    return label;
}

QWidget *column(QWidget *parent, QVBoxLayout *&layout)
{
    auto *tab = new QWidget(parent);
    layout = new QVBoxLayout(tab);
    layout->setContentsMargins(6, 6, 6, 6);
    return tab;
}

} // namespace

ScanResultsPanel::ScanResultsPanel(ScanModel *scans, QWidget *parent) : QFrame(parent), scans_(scans)
{
    setObjectName(QStringLiteral("scanResultsPanel"));
    setAccessibleName(tr("Geprüfte Szenen"));
    setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    tabs_->addTab(makeListTab(), tr("Szenen"));
    tabs_->addTab(makeChartTab(), tr("Bitratensuche"));
    layout->addWidget(tabs_);
    setMinimumWidth(320);

    connect(list_, &SceneList::sceneChosen, scans_, &ScanModel::showScene);
    connect(scans_, &ScanModel::scenesChanged, this, &ScanResultsPanel::showScenes);
    connect(scans_, &ScanModel::finderResultChanged, this, [this] {
        showScenes();
        showFinderResult();
    });
    showScenes();
    showFinderResult();
}

QWidget *ScanResultsPanel::makeListTab()
{
    QVBoxLayout *layout = nullptr;
    QWidget *tab = column(this, layout);
    layout->addWidget(caption(tr("Die schlechteste Szene zuerst; ein Klick auf eine Spalte sortiert nach ihr. "
                                 "Eingabetaste oder Doppelklick zeigt den Vergleich der Szene."),
                              tab));
    list_ = new SceneList(tab);
    layout->addWidget(list_, 1);
    return tab;
}

QWidget *ScanResultsPanel::makeChartTab()
{
    QVBoxLayout *layout = nullptr;
    QWidget *tab = column(this, layout);
    finderLabel_ = caption(QString(), tab);
    finderLabel_->setObjectName(QStringLiteral("finderOutcome"));
    finderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(finderLabel_);
    chartCaption_ = caption(QString(), tab);
    chartCaption_->setObjectName(QStringLiteral("chartCaption"));
    layout->addWidget(chartCaption_);
    chart_ = new QualityChart(tab);
    layout->addWidget(chart_);
    layout->addStretch(1);
    return tab;
}

QString ScanResultsPanel::finderText(const FinderResult &found)
{
    if (!found.mbps)
        return BitrateFinder::unreachableText(found.targetSsim);
    if (*found.mbps <= ComparisonLimits::minMbps)
        return BitrateFinder::lowestReachesText(found.targetSsim);
    return tr("Gefunden: %1 für SSIM %2 · schlechteste Szene bei %3: SSIM %4")
        .arg(mbpsText(*found.mbps, 1), ssimText(found.targetSsim), timeText(found.worstSeconds),
             ssimText(found.worstSsim));
}

QString ScanResultsPanel::holdsText(const ScanState &state)
{
    return tr("Gilt für %1, %2.")
        .arg(EncoderCatalogue::settingText(state.finderEncoder), ViewTexts::heightLimit(state.finderMaxHeight));
}

void ScanResultsPanel::present()
{
    show();
    tabs_->setCurrentIndex(0);
    list_->setFocus();
    if (!list_->currentItem() && list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
}

void ScanResultsPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape)
        return QFrame::keyPressEvent(event);
    hide();
    event->accept();
}

void ScanResultsPanel::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    emit shownChanged(true);
}

void ScanResultsPanel::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    emit shownChanged(false);
}

void ScanResultsPanel::showScenes()
{
    list_->setResults(scans_->state());
}

void ScanResultsPanel::showFinderResult()
{
    const std::optional<FinderResult> &found = scans_->finderResult();
    QList<QualityChart::Curve> curves;
    if (found) {
        for (const FinderResult::Curve &curve : found->curves)
            curves.append({curve.seconds, curve.points});
    }
    chart_->setCurves(curves);
    chart_->setTargetSsim(found ? std::optional(found->targetSsim) : std::nullopt);
    chart_->setChosenMbps(found ? found->mbps : std::nullopt);
    //: %1 is empty, or says that the bitrate found is marked.
    chartCaption_->setText(tr("Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, das Ziel als Linie%1.")
                               .arg(found && found->mbps ? tr(", die gefundene Bitrate markiert") : QString()));
    finderLabel_->setText(found ? finderText(*found) + QLatin1Char('\n') + holdsText(scans_->state()) : QString());
    chartCaption_->setVisible(found.has_value());
    chart_->setVisible(found.has_value());
    tabs_->setTabEnabled(1, found.has_value());
    if (found)
        tabs_->setCurrentIndex(1);
}
