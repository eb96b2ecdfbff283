#pragma once

#include <QScrollArea>
#include <QString>

// The help window's content: the workflow explained in ten sections, every text selectable.
// Scrolls vertically only; paragraphs wrap to the window's width. Esc and Ctrl+W close it.
class GlanceHelpView : public QScrollArea {
    Q_OBJECT
public:
    explicit GlanceHelpView(QWidget *parent = nullptr);

    // The window title, the header and the help command's label.
    static QString title();
};
