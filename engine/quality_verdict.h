#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>

// What a clip SSIM means to a person, in five grades from "sehr gut" to "deutliche Verluste". The
// verdict beside the numbers, the scan's colours and list, the chart and the finder's targets all
// read this one table.
enum class QualityVerdict { VeryGood, Good, Sufficient, VisibleLosses, ClearLosses };

struct QualityGrade {
    QualityVerdict verdict;
    double lowestSsim; // the grade holds from this clip SSIM up; the last one from 0
    const char *word;  // in German; verdictWord gives it in the user's language
};

inline constexpr std::array<QualityGrade, 5> qualityGrades = {{
    {QualityVerdict::VeryGood, 0.98, QT_TRANSLATE_NOOP("QualityVerdict", "sehr gut")},
    {QualityVerdict::Good, 0.96, QT_TRANSLATE_NOOP("QualityVerdict", "gut")},
    {QualityVerdict::Sufficient, 0.94, QT_TRANSLATE_NOOP("QualityVerdict", "ausreichend")},
    {QualityVerdict::VisibleLosses, 0.90, QT_TRANSLATE_NOOP("QualityVerdict", "sichtbare Verluste")},
    {QualityVerdict::ClearLosses, 0.0, QT_TRANSLATE_NOOP("QualityVerdict", "deutliche Verluste")},
}};

// The grade a clip SSIM earns (SSIM exactly on a threshold earns the better grade).
QualityVerdict verdictFor(double ssim);
// "sehr gut", "gut", … as the grades name them, in the user's language.
QString verdictWord(QualityVerdict verdict);
// The lowest SSIM of a grade: 0.98 for "sehr gut", 0 for "deutliche Verluste".
double verdictThreshold(QualityVerdict verdict);
