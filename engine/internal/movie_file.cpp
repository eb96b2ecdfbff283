#include "engine/internal/movie_file.h"

#include "engine/movie_path.h"
#include "engine/preview_error.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The name made absolute against the current folder; it stays relative behind "./" where that
// would exceed the system's path limit (a path that long cannot be opened, and getcwd may fail).
QByteArray pathForTools(const QByteArray &name)
{
    if (name.startsWith('/'))
        return name;
    const std::unique_ptr<char, decltype(&::free)> folder(::getcwd(nullptr, 0), &::free);
    if (folder && std::strlen(folder.get()) + 1 + size_t(name.size()) < PATH_MAX)
        return QByteArray(folder.get()) + '/' + name;
    return "./" + name;
}

// The extension of a file name when it is plain ASCII letters and digits, with its dot; the tools
// take it as a hint to the file's format.
QByteArray asciiExtension(const QByteArray &fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    const QByteArray extension = dot > 0 ? fileName.mid(dot + 1) : QByteArray();
    for (const char c : extension) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return {};
    }
    return extension.isEmpty() || extension.size() > 16 ? QByteArray() : '.' + extension;
}

} // namespace

MovieFile::MovieFile(const QUrl &url, const WorkFolder &folder)
{
    const QByteArray name = movieBytes(url);
    if (!url.isLocalFile())
        throw PreviewError::notALocalFile(url.toDisplayString());
    if (name.isEmpty())
        throw PreviewError::noFileGiven();
    const QByteArray path = pathForTools(name);
    QByteArray fileName = path;
    while (fileName.endsWith('/'))
        fileName.chop(1);
    fileName = fileName.mid(fileName.lastIndexOf('/') + 1);

    struct stat info = {};
    if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        throw PreviewError::notAMovie(QFile::decodeName(fileName));

    key_ = QString::fromLatin1(path.toPercentEncoding("/"));
    // A file written anew under the same name is another movie: its results are not the old ones.
    if (S_ISREG(info.st_mode)) {
        key_ += QStringLiteral("#%1-%2-%3.%4")
                    .arg(qulonglong(info.st_ino))
                    .arg(qlonglong(info.st_size))
                    .arg(qlonglong(info.st_mtim.tv_sec))
                    .arg(qlonglong(info.st_mtim.tv_nsec));
    }
    toolPath_ = QFile::decodeName(path);
    if (QFile::encodeName(toolPath_) == path)
        return;
    // A link with an ASCII name; where the path is relative, it points through the current folder
    // of the tool that opens it, which is this program's.
    toolPath_ = folder.file(QStringLiteral("film") + QString::fromLatin1(asciiExtension(fileName)));
    const QByteArray link = QFile::encodeName(toolPath_);
    const QByteArray target = path.startsWith('/') ? path : "/proc/self/cwd" + path.mid(1);
    ::unlink(link.constData());
    if (::symlink(target.constData(), link.constData()) != 0)
        folder.throwWriteFailure(toolPath_, errno);
}
