#pragma once

#include <QWidget>

class BusySpinner;
class GlanceModel;
class QLabel;
class ProgressRow;
class QScrollArea;

// The model's error above the status row: the error in red, selectable, at most 80 points high
// and scrolling beyond that, present only while there is one; then the status row with a spinner
// while busy, the progress of the cut or the encode with the time it still needs, the status, the
// measurement and the quality line below it while there are ones, and the encoder note.
class StatusArea : public QWidget {
    Q_OBJECT
public:
    explicit StatusArea(GlanceModel *model, QWidget *parent = nullptr);

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
    ProgressRow *progress_ = nullptr;
};
