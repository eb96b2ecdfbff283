#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// The dialog that chooses a movie to open: video files of every type the system knows, MP4 and
// Matroska by name, or any file.
namespace MovieFileDialog {

// "Film öffnen …": the dialog's title and the label of the commands that show it.
QString openText();
// Shows the dialog over parent, in folder when given; the chosen file's URL, which keeps the
// name's bytes where the system's dialog hands them over, or an empty URL when the user cancelled.
QUrl choose(QWidget *parent, const QUrl &folder = QUrl());

} // namespace MovieFileDialog
