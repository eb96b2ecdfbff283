#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// A determinate progress bar with a caption beside it ("noch ca. 4 s", "Szene 3 von 12 · …"), as
// the status row and the scan panel show their work. The bar hides while nothing is counted, the
// caption while it is empty.
class ProgressRow : public QWidget {
    Q_OBJECT
public:
    // The bar and the caption get the object names barName and captionName.
    ProgressRow(const QString &barName, const QString &captionName, int barWidth, QWidget *parent = nullptr);

    QProgressBar *bar() const { return bar_; }
    // done of total; nothing counted while total is 0 or less.
    void setCount(qint64 done, qint64 total);
    void setCaption(const QString &text);

private:
    QProgressBar *bar_;
    QLabel *caption_;
};
