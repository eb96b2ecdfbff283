#pragma once

#include <QWidget>

class FilmOutlook;
class QAction;
class QLabel;
class QPushButton;

// Under the numbers: the whole film's size at the measured bitrate ("Ganzer Film: ca. 4.2 GB
// (Video) + Ton", its basis in the tooltip) and the button of "Kodierbefehl kopieren".
class FilmOutlookRow : public QWidget {
    Q_OBJECT
public:
    FilmOutlookRow(FilmOutlook *outlook, QAction *copyCommand, QWidget *parent = nullptr);

private:
    void showOutlook();

    FilmOutlook *outlook_;
    QLabel *size_ = nullptr;
};
