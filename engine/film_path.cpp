#include "film_path.h"

#include <climits>
#include <memory>
#include <unistd.h>

QUrl filmUrl(const QByteArray &path)
{
    QByteArray absolute = path;
    if (!path.startsWith('/')) {
        // getcwd fails for a folder deeper than the system's path limit; the name then stays
        // relative, and the engine keeps it from being read as an option or a protocol.
        const std::unique_ptr<char, decltype(&::free)> folder(::getcwd(nullptr, 0), &::free);
        if (folder)
            absolute = QByteArray(folder.get()) + '/' + path;
    }
    if (absolute.startsWith('/'))
        return QUrl::fromEncoded("file://" + absolute.toPercentEncoding("/"));
    return QUrl::fromEncoded("file:" + absolute.toPercentEncoding("/"));
}

QByteArray filmBytes(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}
