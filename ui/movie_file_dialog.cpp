#include "ui/movie_file_dialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QStringList>

namespace {

QStringList filters()
{
    // Every file type the system knows as video, then MP4 and Matroska by name, then anything.
    QStringList patterns;
    const QList<QMimeType> types = QMimeDatabase().allMimeTypes();
    for (const QMimeType &type : types) {
        if (type.name().startsWith(QLatin1String("video/")))
            patterns += type.globPatterns();
    }
    patterns += {QStringLiteral("*.mp4"), QStringLiteral("*.m4v"), QStringLiteral("*.mkv")};
    patterns.removeDuplicates();
    return {QCoreApplication::translate("MovieFileDialog", "Videodateien (%1)").arg(patterns.join(QLatin1Char(' '))),
            QStringLiteral("MP4 (*.mp4 *.m4v)"), QStringLiteral("Matroska (*.mkv)"),
            QCoreApplication::translate("MovieFileDialog", "Alle Dateien (*)")};
}

} // namespace

namespace MovieFileDialog {

QString openText()
{
    return QCoreApplication::translate("MovieFileDialog", "Film öffnen …");
}

QUrl choose(QWidget *parent, const QUrl &folder)
{
    return QFileDialog::getOpenFileUrl(parent, openText(), folder, filters().join(QLatin1String(";;")), nullptr, {},
                                       {QStringLiteral("file")});
}

} // namespace MovieFileDialog
