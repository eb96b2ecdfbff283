#include "work_folder.h"

#include "platform_error.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex registryMutex;
std::set<const WorkFolder *> registry;

// A program that ends through exit() (Qt does so when the display connection breaks, for instance
// at a logout) never destroys the engines its windows own; their folders of film frames still go.
// Made on first use, after the registry, and therefore destroyed before it.
struct RemoveFoldersAtExit {
    ~RemoveFoldersAtExit()
    {
        std::lock_guard lock(registryMutex);
        for (const WorkFolder *live : registry)
            QDir(live->path()).removeRecursively();
    }
};

} // namespace

WorkFolder::WorkFolder()
{
    const QString temporary = QDir::tempPath();
    QDir().mkpath(temporary);
    const QString path = QDir(temporary).absoluteFilePath(
        QStringLiteral("Bitglance-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    const QByteArray encoded = QFile::encodeName(path);
    const auto failure = [&path] {
        return PlatformError(QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    };
    // Owner only, whatever the umask.
    if (::mkdir(encoded.constData(), 0700) != 0)
        throw failure();
    if (::chmod(encoded.constData(), 0700) != 0) {
        const PlatformError error = failure();
        ::rmdir(encoded.constData());
        throw error;
    }
    path_ = path;

    static const RemoveFoldersAtExit removeFoldersAtExit;
    std::lock_guard lock(registryMutex);
    registry.insert(this);
}

WorkFolder::~WorkFolder()
{
    {
        std::lock_guard lock(registryMutex);
        registry.erase(this);
    }
    QDir(path_).removeRecursively();
}

QString WorkFolder::file(const QString &name) const
{
    return path_ + QLatin1Char('/') + name;
}
