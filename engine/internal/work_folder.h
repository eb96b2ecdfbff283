#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include <QString>

// The engine's private folder <temp>/Bitglance-<UUID>, readable by the owner only, for the clips
// and frames of the user's movie. Removed with everything in it when the object goes, and also
// when the program ends through exit() while the object is still alive.
//
// <temp> is $TMPDIR when that is an existing folder, otherwise /tmp: never the current folder.
// Each folder holds a record of its owner ("owner": process id and the process's start time), on
// which the owner holds a lock (flock) while it lives, so that the folders of a program that was
// killed or lost its power can be told from those in use, also those of a program in another PID
// namespace or on another machine sharing the folder; the first folder a process makes removes them.
class WorkFolder {
public:
    // Throws a system PreviewError when the folder cannot be created, PreviewError when there is no
    // space for it.
    WorkFolder();
    ~WorkFolder();

    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    const QString &path() const { return path_; }
    // The path of a file in the folder.
    QString file(const QString &name) const;
    // The temporary folder it lies in.
    const QString &temporaryFolder() const { return temporary_; }

    // True when the file system holding the folder has no space left for the user.
    bool isFull() const;
    // Throws the failure of a write into the folder that ended with errno error: the no-space text
    // when that was the cause (or the disk is full now), otherwise the system's text for path.
    [[noreturn]] void throwWriteFailure(const QString &path, int error) const;

    // Removes the folders "Bitglance-<UUID>" of this user in temporaryFolder whose owner record is
    // not locked and names no live process of this system, and those without an owner record (a
    // small regular file) that are older than a minute. Leaves everything else alone: other users'
    // folders, symbolic links, other names, folders whose record cannot be locked.
    static void removeAbandoned(const QString &temporaryFolder);

    // Removes path and everything in it without following a symbolic link: a link goes as a link.
    // A folder inside that cannot be read or emptied is made the owner's first; nothing outside
    // changes. Returns false when something stays.
    static bool removeTree(const QString &path);

private:
    QString temporary_;
    QString path_;
    int lock_ = -1; // the owner record, locked while the folder is in use
};
