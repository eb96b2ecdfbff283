#include "ui/scan_results_window.h"

#include "ui/quality_chart.h"
#include "model/scan_model.h"
#include "ui/scene_list.h"
#include "ui/text_styles.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    TextStyles::apply(label, TextStyles::caption(), true);
    return label;
}

} // namespace

ScanResultsWindow::ScanResultsWindow(ScanModel *scans, QWidget *parent) : QDialog(parent), scans_(scans)
{
    setWindowTitle(QStringLiteral("Geprüfte Szenen"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    listCaption_ = caption(
        QStringLiteral("Die schlechteste Szene zuerst. Eingabetaste oder Doppelklick zeigt ihren Vergleich."), this);
    layout->addWidget(listCaption_);
    list_ = new SceneList(this);
    list_->setMinimumHeight(160);
    layout->addWidget(list_, 1);
    chartCaption_ = caption(QStringLiteral("Ausschnitt-SSIM der schlechtesten Szenen über der Bitrate, die gefundene "
                                           "Bitrate markiert."),
                            this);
    layout->addWidget(chartCaption_);
    chart_ = new QualityChart(this);
    layout->addWidget(chart_);
    setMinimumWidth(440);

    connect(list_, &SceneList::sceneChosen, scans_, &ScanModel::showScene);
    connect(scans_, &ScanModel::scenesChanged, this, &ScanResultsWindow::showScenes);
    connect(scans_, &ScanModel::finderResultChanged, this, &ScanResultsWindow::showFinderResult);
    showScenes();
    showFinderResult();
}

void ScanResultsWindow::present()
{
    if (!isVisible())
        adjustSize(); // no room for a part that is hidden
    show();
    raise();
    activateWindow();
    if (list_->isVisible()) {
        list_->setFocus();
        if (!list_->currentItem() && list_->topLevelItemCount() > 0)
            list_->setCurrentItem(list_->topLevelItem(0));
    }
}

void ScanResultsWindow::showScenes()
{
    list_->setScenes(scans_->scenes());
    const bool any = !scans_->scenes().isEmpty();
    listCaption_->setVisible(any);
    list_->setVisible(any);
}

void ScanResultsWindow::showFinderResult()
{
    const std::optional<FinderResult> &found = scans_->finderResult();
    QList<QualityChart::Curve> curves;
    if (found) {
        for (const FinderResult::Curve &curve : found->curves)
            curves.append({curve.seconds, curve.points});
    }
    chart_->setCurves(curves);
    chart_->setChosenMbps(found ? found->mbps : std::nullopt);
    chartCaption_->setVisible(found.has_value());
    chart_->setVisible(found.has_value());
}
