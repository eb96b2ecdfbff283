#pragma once

#include <QLabel>
#include <QString>

// A one-line label that shortens its text with an ellipsis to the width it is given.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setFullText(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString fullText_;
};
