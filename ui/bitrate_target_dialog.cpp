#include "ui/bitrate_target_dialog.h"

#include "engine/number_text.h"
#include "engine/quality_verdict.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

// The finder aims at the three grades without visible losses; "gut" by default.
constexpr std::array<QualityVerdict, 3> targets = {QualityVerdict::VeryGood, QualityVerdict::Good,
                                                   QualityVerdict::Sufficient};
constexpr int defaultTarget = 1;

} // namespace

BitrateTargetDialog::BitrateTargetDialog(const QString &title, QWidget *parent)
    : QDialog(parent), choices_(new QButtonGroup(this))
{
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("Zielqualität"), this);
    auto *choices = new QVBoxLayout(group);
    for (int i = 0; i < int(targets.size()); ++i) {
        // "gut (SSIM 0.96)"
        const QString text = verdictWord(targets[i]) + QStringLiteral(" (SSIM ")
            + fixedText(verdictThreshold(targets[i]), 2) + QLatin1Char(')');
        auto *button = new QRadioButton(text, group);
        choices_->addButton(button, i);
        choices->addWidget(button);
    }
    choices_->button(defaultTarget)->setChecked(true);
    layout->addWidget(group);

    // Qt's own texts, "OK" and "Abbrechen" with its German translation.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

double BitrateTargetDialog::targetSsim() const
{
    return verdictThreshold(targets.at(std::size_t(choices_->checkedId())));
}

std::optional<double> BitrateTargetDialog::ask(const QString &title, QWidget *parent)
{
    BitrateTargetDialog dialog(title, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.targetSsim();
}
