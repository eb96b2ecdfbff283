#include "ui/verdict_label.h"

#include "engine/number_text.h"
#include "engine/quality_texts.h"
#include "engine/quality_verdict.h"
#include "model/glance_model.h"
#include "ui/scene_strip.h"
#include "ui/text_styles.h"
#include "ui/view_texts.h"

#include <QCoreApplication>

namespace {

QString verdictText(const QualityNumbers &quality)
{
    return QCoreApplication::translate("VerdictLabel", "Urteil: %1").arg(verdictWord(verdictFor(quality.ssimClip)));
}

// What the verdict rests on: the worst frame once every frame is measured, the clip's SSIM before.
QString basisText(const QualityNumbers &quality)
{
    if (const std::optional<qint64> worst = quality.worstFrame())
        return QCoreApplication::translate("VerdictLabel", "schlechtestes Bild: SSIM %1")
            .arg(ssimText(quality.frames.at(*worst).ssim));
    return QCoreApplication::translate("VerdictLabel", "nach SSIM %1 des Ausschnitts").arg(ssimText(quality.ssimClip));
}

QString square(const QColor &colour)
{
    return QStringLiteral("<span style=\"color:%1\">■</span>").arg(colour.name());
}

// The grades with their colours and where each begins, and what the worst frame says.
QString legend(const QualityNumbers &quality)
{
    QString rows;
    for (const QualityGrade &grade : qualityGrades) {
        const QString from = grade.lowestSsim > 0
            ? QCoreApplication::translate("VerdictLabel", "ab SSIM %1").arg(fixedText(grade.lowestSsim, 2))
            : QCoreApplication::translate("VerdictLabel", "darunter");
        rows += QStringLiteral("<tr><td>%1 %2</td><td>%3</td></tr>")
                    .arg(square(SceneStrip::ssimColour(grade.lowestSsim)), verdictWord(grade.verdict), from);
    }
    const QString scale = QCoreApplication::translate("VerdictLabel",
                                                      "Das Urteil gilt dem ganzen Ausschnitt: seiner SSIM %1, auf "
                                                      "derselben Skala wie die Farben der Szenenleiste und der "
                                                      "Bildleiste.")
                              .arg(ssimText(quality.ssimClip));
    QString text = QStringLiteral("<p>%1</p><table>%2</table>").arg(scale.toHtmlEscaped(), rows);
    if (const std::optional<qint64> worst = quality.worstFrame()) {
        const QString pulls =
            QCoreApplication::translate("VerdictLabel",
                                        "Das schlechteste Bild (Bild %1 von %2) zieht den "
                                        "Ausschnitt am stärksten herunter; „%3“ (W) zeigt es.")
                .arg(QString::number(*worst + 1), QString::number(quality.frames.size()), ViewTexts::worstFrame());
        text += QStringLiteral("<p>%1</p>").arg(pulls.toHtmlEscaped());
    }
    return text;
}

} // namespace

VerdictLabel::VerdictLabel(GlanceModel *model, QWidget *parent) : QLabel(parent), model_(model)
{
    setObjectName(QStringLiteral("verdictLabel"));
    setTextFormat(Qt::RichText);
    setFont(TextStyles::callout());
    connect(model_, &GlanceModel::qualityChanged, this, &VerdictLabel::showVerdict);
    connect(model_, &GlanceModel::comparisonMbpsChanged, this, &VerdictLabel::showVerdict);
    showVerdict();
}

QString VerdictLabel::text(const QualityNumbers &quality)
{
    return verdictText(quality) + QStringLiteral(" · ") + basisText(quality);
}

void VerdictLabel::showVerdict()
{
    const std::optional<PreviewResult> &shown = model_->shownResult();
    const bool measured = shown && shown->quality;
    setVisible(measured);
    if (!measured) {
        setAccessibleName(QString());
        return;
    }
    const QualityNumbers &quality = *shown->quality;
    setAccessibleName(text(quality));
    setToolTip(legend(quality));
    const QString secondary = TextStyles::secondary(palette()).name();
    setText(square(SceneStrip::ssimColour(quality.ssimClip))
            + QStringLiteral(" <b>%1</b> <span style=\"color:%2\">· %3</span>")
                  .arg(verdictText(quality).toHtmlEscaped(), secondary, basisText(quality).toHtmlEscaped()));
}
