#include "engine/quality_verdict.h"

#include <algorithm>

namespace {

const QualityGrade &gradeOf(QualityVerdict verdict)
{
    return *std::find_if(qualityGrades.begin(), qualityGrades.end(),
                         [verdict](const QualityGrade &grade) { return grade.verdict == verdict; });
}

} // namespace

QualityVerdict verdictFor(double ssim)
{
    // The raw value, as the finder compares it with its target.
    for (const QualityGrade &grade : qualityGrades)
        if (ssim >= grade.lowestSsim)
            return grade.verdict;
    return QualityVerdict::ClearLosses;
}

QString verdictWord(QualityVerdict verdict)
{
    return QCoreApplication::translate("QualityVerdict", gradeOf(verdict).word);
}

double verdictThreshold(QualityVerdict verdict)
{
    return gradeOf(verdict).lowestSsim;
}
