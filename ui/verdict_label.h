#pragma once

#include "engine/quality_numbers.h"

#include <QLabel>

class GlanceModel;

// The verdict on the comparison on screen, beside its numbers: a square in the scene strip's colour
// for the clip SSIM and the grade in words ("Urteil: gut"), with what pulls the clip down (its
// worst frame) or, without every frame's numbers, the clip SSIM it rests on. Its tooltip explains
// the grades and their colours. Hidden while the comparison is not measured.
class VerdictLabel : public QLabel {
    Q_OBJECT
public:
    explicit VerdictLabel(GlanceModel *model, QWidget *parent = nullptr);

    // "Urteil: gut · schlechtestes Bild: SSIM 0.7100", as a screen reader says it.
    static QString text(const QualityNumbers &quality);

private:
    void showVerdict();

    GlanceModel *model_;
};
