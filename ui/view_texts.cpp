#include "ui/view_texts.h"

#include "engine/encoder_catalogue.h"
#include "engine/number_text.h"

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
        return QStringLiteral("noch ca. %1 s").arg(qint64(wholeSeconds));
    return QStringLiteral("noch ca. %1 min").arg(qint64(std::min(std::round(seconds / 60), 1e15)));
}

QString withKey(const QString &text, const QKeySequence &keys)
{
    return text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QStringLiteral(")");
}

QString viewName(GlanceModel::ComparisonView view)
{
    switch (view) {
    case GlanceModel::ComparisonView::SideBySide:
        return QStringLiteral("Nebeneinander");
    case GlanceModel::ComparisonView::Flip:
        return QStringLiteral("Wechseln");
    case GlanceModel::ComparisonView::Split:
        return QStringLiteral("Teilung");
    case GlanceModel::ComparisonView::Difference:
        break;
    }
    return QStringLiteral("Differenz");
}

QString viewHint(GlanceModel::ComparisonView view)
{
    switch (view) {
    case GlanceModel::ComparisonView::Flip:
        return QStringLiteral("Leertaste oder Klick: anderes Bild");
    case GlanceModel::ComparisonView::Split:
        return QStringLiteral("links Original, rechts HEVC · Trennlinie am Griff ziehen");
    case GlanceModel::ComparisonView::Difference:
        return QStringLiteral("Helligkeitsunterschied: je heller, desto größer");
    case GlanceModel::ComparisonView::SideBySide:
        break;
    }
    return {};
}

QString originalLabel()
{
    return QStringLiteral("Original");
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
        return QStringLiteral("Quelle");
    return QStringLiteral("max. %1p").arg(maxHeight);
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
    return label + QStringLiteral(" (alt)");
}

QString differenceLabel()
{
    return viewName(GlanceModel::ComparisonView::Difference) + QStringLiteral(" ×4");
}

QString worstFrame()
{
    return QStringLiteral("Schlechtestes Bild");
}

} // namespace ViewTexts
