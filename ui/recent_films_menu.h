#pragma once

#include <QMenu>
#include <QUrl>

class UserSettings;

// "Zuletzt geöffnet": the films opened last, the latest first, each named by its file name with
// its path as tooltip. A film that is no longer there stays in the list, greyed out, until the
// list is emptied. The entries are read from the settings each time the menu opens.
class RecentFilmsMenu : public QMenu {
    Q_OBJECT
public:
    // settings outlives the menu.
    explicit RecentFilmsMenu(UserSettings *settings, QWidget *parent = nullptr);

    // Rebuilds the entries from the settings; the menu is disabled while there are none.
    void refresh();

signals:
    // An entry was chosen.
    void filmChosen(const QUrl &film);

private:
    UserSettings *settings_;
};
