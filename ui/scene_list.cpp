#include "ui/scene_list.h"

#include "analysis/scene_plan.h"
#include "analysis/scene_texts.h"
#include "engine/comparison_texts.h"
#include "engine/quality_texts.h"
#include "ui/scene_strip.h"
#include "ui/view_texts.h"

#include <QHeaderView>

#include <algorithm>
#include <limits>

namespace {

enum Column { TimeColumn, TargetColumn, SsimColumn, WorstFrameColumn, PsnrColumn, BitrateColumn, ColumnCount };
constexpr int sceneRole = Qt::UserRole;
constexpr int sortRole = Qt::UserRole + 1; // a number for each column but the time's

// Sorts by its column's number, and the worse scene first where they are equal.
class SceneItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    SceneResult scene() const { return data(TimeColumn, sceneRole).value<SceneResult>(); }

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : SsimColumn;
        const auto &item = static_cast<const SceneItem &>(other);
        const SceneResult a = scene();
        const SceneResult b = item.scene();
        const double x = column == TimeColumn ? a.seconds : data(column, sortRole).toDouble();
        const double y = column == TimeColumn ? b.seconds : item.data(column, sortRole).toDouble();
        return x != y ? x < y : ScenePlan::worseThan(a, b);
    }
};

} // namespace

SceneList::SceneList(QWidget *parent) : QTreeWidget(parent)
{
    setAccessibleName(tr("Szenen"));
    setColumnCount(ColumnCount);
    setHeaderLabels({tr("Zeit"), tr("Ziel"), QStringLiteral("SSIM"), ViewTexts::worstFrame(), QStringLiteral("PSNR"),
                     tr("Bitrate")});
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    setSortingEnabled(true);
    sortByColumn(SsimColumn, Qt::AscendingOrder); // worst first
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setDefaultAlignment(Qt::AlignCenter);
    // Enter and a double-click (a single click where the desktop activates so).
    connect(this, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { emit sceneChosen(static_cast<SceneItem *>(item)->scene().seconds); });
}

void SceneList::setResults(const ScanState &state)
{
    clear();
    for (const SceneResult &scene : state.scenes)
        addScene(scene, state.scenesMbps);
    if (const std::optional<FinderResult> &found = state.finderResult) {
        for (qsizetype i = 0; i < std::min(found->tried.size(), found->worstTried.size()); ++i)
            addScene(found->worstTried[i], found->tried[i].mbps, true);
    }
}

void SceneList::addScene(const SceneResult &scene, double mbps, bool tried)
{
    const std::optional<qint64> worst = scene.quality.worstFrame();
    // Without frames, after every SSIM in its column.
    const double worstSsim = worst ? scene.quality.frames.at(*worst).ssim : 2;
    // "2.0 Mbit/s", a try of the finder's "2.0 Mbit/s · Suche".
    const QString target = tried ? tr("%1 · Suche").arg(mbpsText(mbps, 1)) : mbpsText(mbps, 1);
    // The time follows in showTimes, which knows the other scenes.
    auto *item = new SceneItem({QString(), target, ssimText(scene.quality.ssimClip),
                                worst ? ssimText(worstSsim) : QStringLiteral("–"), psnrText(scene.quality.psnrClip),
                                mbpsText(scene.actualMbps, 2)});
    item->setData(TimeColumn, sceneRole, QVariant::fromValue(scene));
    item->setData(TargetColumn, sortRole, mbps);
    item->setData(SsimColumn, sortRole, scene.quality.ssimClip);
    item->setData(WorstFrameColumn, sortRole, worstSsim);
    // An infinite PSNR (identical pictures) is the best.
    item->setData(PsnrColumn, sortRole, scene.quality.psnrClip.value_or(std::numeric_limits<double>::infinity()));
    item->setData(BitrateColumn, sortRole, scene.actualMbps);
    if (tried)
        item->setToolTip(TargetColumn, tr("Bitratensuche: die schlechteste Szene bei dieser Bitrate"));
    QColor colour = SceneStrip::ssimColour(scene.quality.ssimClip);
    colour.setAlpha(110);
    item->setTextAlignment(TimeColumn, Qt::AlignCenter);
    for (int column = 0; column < ColumnCount; ++column) {
        item->setBackground(column, colour);
        if (column != TimeColumn)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    addTopLevelItem(item);
    showTimes();
}

void SceneList::showTimes()
{
    // A scene less than a second from another shows every time with tenths; a scene listed at
    // several bitrates is one.
    QList<double> times;
    for (const SceneResult &scene : scenes())
        times.append(scene.seconds);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        item->setText(TimeColumn, sceneTimeText(static_cast<SceneItem *>(item)->scene().seconds, times));
    }
}

QList<SceneResult> SceneList::scenes() const
{
    QList<SceneResult> scenes;
    for (int row = 0; row < topLevelItemCount(); ++row)
        scenes.append(static_cast<const SceneItem *>(topLevelItem(row))->scene());
    return scenes;
}
