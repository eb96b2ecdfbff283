#include "ui/boxed_label.h"

#include <QLabel>

QLabel *boxedLabel(const QString &text, int width, Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFixedWidth(width);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}
