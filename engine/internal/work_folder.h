#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include <QString>

// The engine's private folder <temp>/Bitglance-<UUID>, readable by the owner only, for the clips
// and frames of the user's film. Removed with everything in it when the object goes, and also
// when the program ends through exit() while the object is still alive.
//
// <temp> is $TMPDIR when that is an existing folder, otherwise /tmp: never the current folder.
// Each folder holds a record of its owner ("owner": process id and the process's start time), so
// that the folders of a program that was killed or lost its power can be told from those in use;
// the first folder a process makes removes them.
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

    // Removes the folders "Bitglance-<UUID>" of this user in temporaryFolder whose owner process
    // is gone, and those without an owner record that are older than a minute. Leaves everything
    // else alone: other users' folders, symbolic links, other names.
    static void removeAbandoned(const QString &temporaryFolder);

private:
    QString temporary_;
    QString path_;
};
