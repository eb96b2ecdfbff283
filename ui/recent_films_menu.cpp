#include "ui/recent_films_menu.h"

#include "engine/movie_path.h"
#include "model/user_settings.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

RecentFilmsMenu::RecentFilmsMenu(UserSettings *settings, QWidget *parent)
    : QMenu(tr("&Zuletzt geöffnet"), parent), settings_(settings)
{
    setObjectName(QStringLiteral("recentFilmsMenu"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &RecentFilmsMenu::refresh);
    refresh();
}

void RecentFilmsMenu::refresh()
{
    clear();
    const QList<QUrl> films = settings_->recentFilms();
    int number = 0;
    for (const QUrl &film : films) {
        // Tested by the name's bytes, so that one that is not valid UTF-8 is found as it stands.
        const QByteArray bytes = movieBytes(film);
        struct stat info = {};
        const bool there = ::stat(bytes.constData(), &info) == 0 && S_ISREG(info.st_mode);
        const QString path = QFile::decodeName(bytes);
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        ++number;
        // The number as the entry's key, 1 to 9 and 0 for the tenth.
        QAction *entry = addAction(QStringLiteral("&%1 %2").arg(number % 10).arg(name));
        entry->setToolTip(there ? path : tr("Nicht mehr vorhanden: %1").arg(path));
        entry->setEnabled(there);
        connect(entry, &QAction::triggered, this, [this, film] { emit filmChosen(film); });
    }
    if (!films.isEmpty()) {
        addSeparator();
        addAction(tr("Liste leeren"), this, [this] {
            settings_->clearRecentFilms();
            refresh();
        });
    }
    menuAction()->setEnabled(!films.isEmpty());
}
