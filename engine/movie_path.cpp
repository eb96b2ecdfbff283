#include "engine/movie_path.h"

#include <climits>
#include <cstring>
#include <memory>
#include <unistd.h>

QUrl movieUrl(const QByteArray &path)
{
    QByteArray absolute = path;
    if (!path.startsWith('/')) {
        // A path longer than the system's limit cannot be opened (getcwd may fail there, or give
        // such a path); the name then stays relative, and the engine keeps it from being read as
        // an option or a protocol.
        const std::unique_ptr<char, decltype(&::free)> folder(::getcwd(nullptr, 0), &::free);
        if (folder && std::strlen(folder.get()) + 1 + size_t(path.size()) < PATH_MAX)
            absolute = QByteArray(folder.get()) + '/' + path;
    }
    if (absolute.startsWith('/'))
        return QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/"));
    return QUrl::fromEncoded("file:" + absolute.toPercentEncoding("/"));
}

QByteArray movieBytes(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}
