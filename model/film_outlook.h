#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class GlanceModel;
class ScanModel;

// What the comparison says about encoding the whole film with its settings: the film's size at
// the measured bitrate, hints where the comparison misleads, and the ffmpeg command that encodes
// the film as the comparison encoded its clip. Follows the model (and the scan, when given).
class FilmOutlook : public QObject {
    Q_OBJECT
public:
    explicit FilmOutlook(GlanceModel *model, ScanModel *scan = nullptr, QObject *parent = nullptr);

    // "Ganzer Film: ca. 4.2 GB (Video) + Ton", from the mean measured bitrate of the scanned scenes
    // when a scan at the shown settings exists, otherwise from the shown clip's; empty before a
    // comparison. sizeBasis() says which, for a tooltip.
    const QString &sizeText() const { return sizeText_; }
    const QString &sizeBasis() const { return sizeBasis_; }
    // "Ziel liegt über der Bitrate der Quelle (0.61 Mbit/s)." while the target is at or above the
    // film's own bitrate; "Kurzer Ausschnitt: x265 hat 2.4× das Ziel gebraucht." while the shown
    // clip took more than 1.5 times its target.
    const QStringList &hints() const { return hints_; }
    // The command for a POSIX shell, for the current settings; empty without a film.
    QString command() const;

    // "ca. 4.2 GB", "ca. 730 MB" for a size in megabytes (10^6 bytes).
    static QString sizeWords(double megabytes);

signals:
    void changed();

private:
    void update();

    GlanceModel *model_;
    ScanModel *scan_;
    QString sizeText_;
    QString sizeBasis_;
    QStringList hints_;
};
