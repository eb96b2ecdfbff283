#pragma once

#include <QDialog>
#include <optional>

class QButtonGroup;

// Asks which quality the bitrate finder should aim at: "sehr gut", "gut" (the default) or
// "ausreichend", each a clip SSIM that even the worst scenes are to reach.
class BitrateTargetDialog : public QDialog {
    Q_OBJECT
public:
    // title: the window title, the name of the command that asks.
    explicit BitrateTargetDialog(const QString &title, QWidget *parent = nullptr);

    // The SSIM of the checked choice.
    double targetSsim() const;

    // Shows the dialog; the chosen SSIM, or nothing when cancelled.
    static std::optional<double> ask(const QString &title, QWidget *parent);

private:
    QButtonGroup *choices_;
};
