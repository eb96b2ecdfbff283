#pragma once

#include <QList>
#include <QObject>

class GlanceModel;
class QAction;
class QWidget;

// The File menu's commands that keep the comparison on screen: "Vergleich speichern …" (Ctrl+S)
// and "Kodierten Ausschnitt speichern …" ask for a file, suggesting one beside the movie;
// "Vergleich kopieren" (Ctrl+Shift+C) puts the picture on the clipboard. All three are disabled
// while no comparison is shown. The shortcuts work in the window with or without a menu.
class ComparisonExportActions : public QObject {
    Q_OBJECT
public:
    // window: where the shortcuts work and over which the dialogs open.
    ComparisonExportActions(GlanceModel *model, QWidget *window);

    // In menu order.
    QList<QAction *> actions() const { return {savePicture_, copyPicture_, saveClip_}; }

private:
    QAction *add(const QString &text, const QKeySequence &keys);
    // The path chosen in a save dialog that suggests extension; empty when cancelled.
    QString chooseFile(const QAction *action, const QString &extension, const QString &filter) const;
    void updateEnabled();

    GlanceModel *model_;
    QWidget *window_;
    QAction *savePicture_ = nullptr;
    QAction *copyPicture_ = nullptr;
    QAction *saveClip_ = nullptr;
};
