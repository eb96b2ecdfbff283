#pragma once

#include <QWidget>

class BusySpinner;
class ElidedLabel;
class GlanceModel;
class QLabel;
class ProgressRow;
class QScrollArea;
class QVBoxLayout;

// The model's error above the status row: the error in red, selectable, at most 80 points high
// and scrolling beyond that, present only while there is one; then the status row with a spinner
// while busy, one bar for the cut and the encode with the time they still need, the status with
// what the last save or copy did beside it, the measurement and the quality line with its verdict
// below it while there are ones, and the encoder note.
class StatusArea : public QWidget {
    Q_OBJECT
public:
    explicit StatusArea(GlanceModel *model, QWidget *parent = nullptr);

    // A line under the numbers.
    void addLine(QWidget *line);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *makeErrorArea();
    QLayout *makeStatusRow();

    void showStatus();
    void showProgress();
    void showError();
    void updateErrorHeight();

    GlanceModel *model_;
    QScrollArea *errorArea_ = nullptr;
    QLabel *errorLabel_ = nullptr;
    BusySpinner *spinner_ = nullptr;
    QLabel *statusLabel_ = nullptr;
    QLabel *measurementLabel_ = nullptr;
    QLabel *qualityLabel_ = nullptr;
    QLabel *encoderLabel_ = nullptr;
    QVBoxLayout *lines_ = nullptr;
    ElidedLabel *noticeLabel_ = nullptr;
    ProgressRow *progress_ = nullptr;
};
