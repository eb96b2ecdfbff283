#pragma once

#include <QString>
#include <Qt>

class QLabel;
class QWidget;

// A label in a box of fixed width, its text aligned in the box and centred vertically: the
// names and values beside the sliders.
QLabel *boxedLabel(const QString &text, int width, Qt::Alignment alignment, QWidget *parent);
