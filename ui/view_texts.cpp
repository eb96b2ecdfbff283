#include "ui/view_texts.h"

#include "engine/encoder_catalogue.h"
#include "engine/number_text.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace ViewTexts {

QString mbit(const QString &number)
{
    return number + QStringLiteral(" Mbit/s");
}

QString zoom(double zoom)
{
    return fixedText(zoom, 1) + QStringLiteral("×");
}

QString remaining(double seconds)
{
    // Whole seconds up to a minute, never "0 s" while work remains; whole minutes beyond.
    const double wholeSeconds = std::max(1.0, std::ceil(seconds));
    if (wholeSeconds < 60)
        return QCoreApplication::translate("ViewTexts", "noch ca. %1 s").arg(qint64(wholeSeconds));
    return QCoreApplication::translate("ViewTexts", "noch ca. %1 min")
        .arg(qint64(std::min(std::round(seconds / 60), 1e15)));
}

QString withKey(const QString &text, const QKeySequence &keys)
{
    return text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QStringLiteral(")");
}

QString viewName(GlanceModel::ComparisonView view)
{
    switch (view) {
    case GlanceModel::ComparisonView::SideBySide:
        return QCoreApplication::translate("ViewTexts", "Nebeneinander");
    case GlanceModel::ComparisonView::Flip:
        return QCoreApplication::translate("ViewTexts", "Wechseln");
    case GlanceModel::ComparisonView::Split:
        return QCoreApplication::translate("ViewTexts", "Teilung");
    case GlanceModel::ComparisonView::Difference:
        break;
    }
    return QCoreApplication::translate("ViewTexts", "Differenz");
}

QString viewHint(GlanceModel::ComparisonView view)
{
    switch (view) {
    case GlanceModel::ComparisonView::Flip:
        return QCoreApplication::translate("ViewTexts", "Leertaste oder Klick: anderes Bild");
    case GlanceModel::ComparisonView::Split:
        //: "HEVC" stands for the format of the comparison on screen and is replaced by it ("AV1").
        return QCoreApplication::translate("ViewTexts", "links Original, rechts HEVC · Trennlinie am Griff ziehen");
    case GlanceModel::ComparisonView::Difference:
        return QCoreApplication::translate("ViewTexts", "Helligkeitsunterschied: je heller, desto größer");
    case GlanceModel::ComparisonView::SideBySide:
        break;
    }
    return {};
}

QString originalLabel()
{
    return QCoreApplication::translate("ViewTexts", "Original");
}

QString encodedBitrate(double mbps)
{
    return mbit(fixedText(mbps, 1));
}

QString encodedLabel(double mbps)
{
    return QStringLiteral("HEVC · ") + encodedBitrate(mbps);
}

QString heightLimit(qint64 maxHeight)
{
    if (maxHeight == 0)
        return QCoreApplication::translate("ViewTexts", "Quelle");
    return QCoreApplication::translate("ViewTexts", "max. %1p").arg(maxHeight);
}

QString inFormat(const QString &text, const GlanceModel &model)
{
    const std::optional<PreviewResult> &shown = model.shownResult();
    QString named = text;
    return named.replace(QStringLiteral("HEVC"),
                         EncoderCatalogue::formatName(shown ? shown->encoder.encoder : model.encoder().encoder));
}

QString stale(const QString &label)
{
    return QCoreApplication::translate("ViewTexts", "%1 (alt)").arg(label);
}

QString differenceLabel()
{
    return viewName(GlanceModel::ComparisonView::Difference) + QStringLiteral(" ×4");
}

QString worstFrame()
{
    return QCoreApplication::translate("ViewTexts", "Schlechtestes Bild");
}

} // namespace ViewTexts
