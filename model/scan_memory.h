#pragma once

#include "model/scan_state.h"

#include <QObject>
#include <QString>

class FilmMemory;
class GlanceModel;
class ScanModel;

// Keeps the scan and finder results of a window's films in a FilmMemory: what a run leaves on
// screen is remembered for the film, and the film opened again (or the bitrate and height limit
// of a remembered scan chosen again) shows them at once, without a run. Results are shown only
// with the settings (bitrate, height limit, encoder) they were made at, and only for the same file.
class ScanMemory : public QObject {
    Q_OBJECT
public:
    // All three outlive the scan memory.
    ScanMemory(GlanceModel *model, ScanModel *scans, FilmMemory *memory, QObject *parent = nullptr);

private:
    void movieChanged();
    void runEnded();
    void offer();

    GlanceModel *model_;
    ScanModel *scans_;
    FilmMemory *memory_;
    QString path_;    // the film open, empty without one
    ScanState state_; // what is remembered for it
};
