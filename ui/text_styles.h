#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QLabel;
class QString;
class QWidget;

// The named text sizes and shades of the program, derived from the application's body font.
namespace TextStyles {

QFont largeTitle(); // header icon size, help title
QFont title2();     // program name in the header (bold)
QFont title3();     // help subtitle
QFont headline();   // pane titles, help headings (bold body)
QFont callout();    // status line, placeholder text
QFont caption();    // secondary lines

QColor secondary(const QPalette &palette);
QColor errorRed();

// Sets the font; with secondary, also the dimmed text colour.
void apply(QWidget *widget, const QFont &font, bool secondaryColour = false);
// A label for a secondary line: caption size, dimmed, plain text, with that object name.
QLabel *captionLabel(const QString &objectName, QWidget *parent);

} // namespace TextStyles
