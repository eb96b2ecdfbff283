#pragma once

#include <QTimer>
#include <QWidget>

// A small indeterminate progress indicator: a ring of dashes that turns while the widget is
// visible.
class BusySpinner : public QWidget {
    Q_OBJECT
public:
    explicit BusySpinner(int diameter, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int diameter_;
    int step_ = 0;
    QTimer timer_;
};
