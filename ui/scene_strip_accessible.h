#pragma once

#include <QAccessibleWidget>
#include <QHash>

class SceneStrip;

// The scene strip for a screen reader: a list named by the strip, with one item per mark whose name
// gives the scene's time, verdict and SSIM ("00:01:10 · gut · SSIM 0.9612"); the scene on screen is
// the selected one.
class SceneStripAccessible : public QAccessibleWidget {
public:
    explicit SceneStripAccessible(SceneStrip *strip);
    ~SceneStripAccessible() override;

    // Makes Qt ask this type for every SceneStrip (once per program).
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    SceneStrip *strip() const;

    mutable QHash<int, QAccessible::Id> marks_; // made as asked for; Qt's registry owns them
};
