#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/internal/work_folder.h"

#include <QString>
#include <QUrl>

// The movie of a probe or a render as the tools are to open it. The name's bytes (movieBytes) reach
// the tools unchanged: the tool gets the name itself when it survives the way through QString
// (the command lines then read as always), otherwise a symbolic link in the work folder that
// points to those bytes. The path is absolute, or starts with "./" where the current folder is too
// deep to name, so that a name like "-x.mp4" is never an option and "http:x.mp4" never a protocol.
class MovieFile {
public:
    // Throws a system PreviewError for a URL that is not a local file and when the link cannot be made,
    // PreviewError for a name that exists but is no regular file (a FIFO would block the tool, a
    // folder or device is no movie). A name that does not exist is left to the tool to report.
    MovieFile(const QUrl &url, const WorkFolder &folder);

    // The path handed to the tools.
    const QString &toolPath() const { return toolPath_; }
    // Names the movie exactly, also where the tools get a link: the path's bytes, percent-encoded,
    // and for a file that exists its inode, size and modification time.
    const QString &key() const { return key_; }

private:
    QString toolPath_;
    QString key_;
};
