#pragma once

#include <QString>

class QWidget;

// The dialog that chooses a film to open: video files of every type the system knows, MP4 and
// Matroska by name, or any file.
namespace MovieFileDialog {

// "Film öffnen …": the dialog's title and the label of the commands that show it.
QString openText();
// Shows the dialog over parent; the chosen file's path, empty when the user cancelled.
QString choose(QWidget *parent);

} // namespace MovieFileDialog
