#include "ui/scene_list.h"

#include "analysis/scene_plan.h"
#include "analysis/scene_texts.h"
#include "engine/quality_texts.h"
#include "ui/view_texts.h"

#include <QHeaderView>

namespace {

enum Column { TimeColumn, SsimColumn, WorstFrameColumn, PsnrColumn, BitrateColumn, ColumnCount };
constexpr int sceneRole = Qt::UserRole;

} // namespace

SceneList::SceneList(QWidget *parent) : QTreeWidget(parent)
{
    setAccessibleName(QStringLiteral("Szenen"));
    setColumnCount(ColumnCount);
    setHeaderLabels({QStringLiteral("Zeit"), QStringLiteral("SSIM"), ViewTexts::worstFrame(), QStringLiteral("PSNR"),
                     QStringLiteral("Bitrate")});
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    // The order is the ranking; sorting by a column's text would lose it.
    setSortingEnabled(false);
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setDefaultAlignment(Qt::AlignCenter);
    // Enter and a double-click (a single click where the desktop activates so).
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit sceneChosen(item->data(TimeColumn, sceneRole).value<SceneResult>().seconds);
    });
}

QTreeWidgetItem *SceneList::makeItem(const SceneResult &scene)
{
    // The time follows in addScene, which knows the other scenes.
    const std::optional<qint64> worst = scene.quality.worstFrame();
    auto *item = new QTreeWidgetItem({QString(), ssimText(scene.quality.ssimClip),
                                      worst ? ssimText(scene.quality.frames.at(*worst).ssim) : QStringLiteral("–"),
                                      psnrText(scene.quality.psnrClip), mbpsText(scene.actualMbps, 2)});
    item->setData(TimeColumn, sceneRole, QVariant::fromValue(scene));
    item->setTextAlignment(TimeColumn, Qt::AlignCenter);
    for (const int column : {SsimColumn, WorstFrameColumn, PsnrColumn, BitrateColumn})
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

void SceneList::setScenes(const QList<SceneResult> &scenes)
{
    clear();
    for (const SceneResult &scene : scenes)
        addScene(scene);
}

void SceneList::addScene(const SceneResult &scene)
{
    int row = 0;
    while (row < topLevelItemCount()
           && !ScenePlan::worseThan(scene, topLevelItem(row)->data(TimeColumn, sceneRole).value<SceneResult>()))
        ++row;
    insertTopLevelItem(row, makeItem(scene));
    // A scene less than a second from another shows every time with tenths.
    const QList<SceneResult> listed = scenes();
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setText(TimeColumn, sceneTimeText(listed[i].seconds, listed));
}

QList<SceneResult> SceneList::scenes() const
{
    QList<SceneResult> scenes;
    for (int row = 0; row < topLevelItemCount(); ++row)
        scenes.append(topLevelItem(row)->data(TimeColumn, sceneRole).value<SceneResult>());
    return scenes;
}
