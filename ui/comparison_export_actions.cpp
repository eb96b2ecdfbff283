#include "ui/comparison_export_actions.h"

#include "model/glance_model.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QWidget>

ComparisonExportActions::ComparisonExportActions(GlanceModel *model, QWidget *window)
    : QObject(window), model_(model), window_(window)
{
    savePicture_ = add(tr("Vergleich speichern …"), QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(savePicture_, &QAction::triggered, this, [this] {
        const QString path = chooseFile(savePicture_, QStringLiteral("png"), tr("PNG-Bild (*.png)"));
        if (!path.isEmpty())
            model_->saveComparisonPicture(path);
    });
    copyPicture_ = add(tr("Vergleich kopieren"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(copyPicture_, &QAction::triggered, model_, &GlanceModel::copyComparisonPicture);
    saveClip_ = add(tr("Kodierten Ausschnitt speichern …"), QKeySequence());
    connect(saveClip_, &QAction::triggered, this, [this] {
        const QString path = chooseFile(saveClip_, QStringLiteral("mp4"), tr("MP4-Video (*.mp4)"));
        if (!path.isEmpty())
            model_->saveEncodedClip(path);
    });
    connect(model_, &GlanceModel::comparisonMbpsChanged, this, &ComparisonExportActions::updateEnabled);
    updateEnabled();
}

QAction *ComparisonExportActions::add(const QString &text, const QKeySequence &keys)
{
    auto *action = new QAction(text, window_);
    action->setShortcut(keys);
    window_->addAction(action);
    return action;
}

QString ComparisonExportActions::chooseFile(const QAction *action, const QString &extension,
                                            const QString &filter) const
{
    const QString suggested = model_->suggestedPath(extension, action == savePicture_);
    QFileDialog dialog(window_, action->text(), QFileInfo(suggested).absolutePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(extension); // a name typed without it gets it, before the overwrite question
    dialog.selectFile(QFileInfo(suggested).fileName());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void ComparisonExportActions::updateEnabled()
{
    const bool shown = model_->comparisonMbps() > 0;
    for (QAction *action : actions())
        action->setEnabled(shown);
}
