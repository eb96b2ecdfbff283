#pragma once

#include "model/film_scan_record.h"
#include "model/scan_state.h"

#include <QObject>
#include <QString>

class FilmMemory;
class GlanceModel;
class ScanModel;

// Keeps the scan and finder results of a window's films in a FilmMemory: what a run leaves on
// screen is remembered for the film, and the film opened again shows them at once, without a run,
// each with the settings (bitrate, height limit, encoder) it was made at; only for the same file.
class ScanMemory : public QObject {
    Q_OBJECT
public:
    // All three outlive the scan memory.
    ScanMemory(GlanceModel *model, ScanModel *scans, FilmMemory *memory, QObject *parent = nullptr);

private:
    void movieChanged();
    void runEnded();

    GlanceModel *model_;
    ScanModel *scans_;
    FilmMemory *memory_;
    QString path_;          // the film open, empty without one
    FilmScanRecord record_; // what is remembered for it
};
