#pragma once

#include <QString>

// The engine's private folder <temp>/Bitglance-<UUID>, readable by the owner only, for the clips
// and frames of the user's film. Removed with everything in it when the object goes, and also
// when the program ends through exit() while the object is still alive.
class WorkFolder {
public:
    // Throws PlatformError when the folder cannot be created.
    WorkFolder();
    ~WorkFolder();

    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    const QString &path() const { return path_; }
    // The path of a file in the folder.
    QString file(const QString &name) const;

private:
    QString path_;
};
