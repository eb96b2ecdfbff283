#include "view_texts.h"

#include "number_text.h"

namespace ViewTexts {

QString mbit(const QString &number)
{
    return number + QStringLiteral(" Mbit/s");
}

QString zoom(double zoom)
{
    return fixedText(zoom, 1) + QStringLiteral("×");
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

QString originalLabel()
{
    return QStringLiteral("Original");
}

QString encodedLabel(double mbps)
{
    return QStringLiteral("HEVC · ") + mbit(fixedText(mbps, 1));
}

QString differenceLabel()
{
    return viewName(GlanceModel::ComparisonView::Difference) + QStringLiteral(" ×4");
}

} // namespace ViewTexts
