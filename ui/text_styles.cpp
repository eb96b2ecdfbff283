#include "ui/text_styles.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

namespace {

QFont scaled(double factor, bool bold = false)
{
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(qRound(font.pixelSize() * factor));
    font.setBold(bold);
    return font;
}

} // namespace

namespace TextStyles {

QFont largeTitle()
{
    return scaled(2.0);
}
QFont title2()
{
    return scaled(1.45, true);
}
QFont title3()
{
    return scaled(1.25);
}
QFont headline()
{
    return scaled(1.0, true);
}
QFont callout()
{
    return scaled(0.95);
}
QFont caption()
{
    return scaled(0.85);
}

QColor secondary(const QPalette &palette)
{
    QColor colour = palette.color(QPalette::Active, QPalette::WindowText);
    colour.setAlphaF(0.6);
    return colour;
}

QColor errorRed()
{
    return QColor(0xd0, 0x1f, 0x1f);
}

void apply(QWidget *widget, const QFont &font, bool secondaryColour)
{
    widget->setFont(font);
    if (secondaryColour) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Active, QPalette::WindowText, secondary(palette));
        palette.setColor(QPalette::Inactive, QPalette::WindowText, secondary(palette));
        widget->setPalette(palette);
    }
}

QLabel *captionLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    apply(label, caption(), true);
    return label;
}

} // namespace TextStyles
