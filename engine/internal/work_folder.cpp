#include "engine/internal/work_folder.h"

#include "engine/preview_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QString kOwnerRecord = QStringLiteral("owner");
// A folder without an owner record may belong to an engine that is being created right now.
constexpr time_t kRecordlessAgeSeconds = 60;

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

// The start time of a process (clock ticks after boot, field 22 of /proc/<pid>/stat), so that a
// process id used again is not taken for the one recorded; empty when there is no such process.
QByteArray startTime(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    // The command name in field 2 may hold spaces and parentheses: fields 3 on follow the last ')'.
    return text.mid(text.lastIndexOf(')') + 1).simplified().split(' ').value(22 - 3);
}

QString temporaryRoot()
{
    // QDir::tempPath() is $TMPDIR made canonical, which is empty for a folder that does not exist.
    const QString temporary = QDir::tempPath();
    return QFileInfo(temporary).isDir() ? temporary : QStringLiteral("/tmp");
}

} // namespace

WorkFolder::WorkFolder() : temporary_(temporaryRoot())
{
    static std::once_flag abandonedRemoved;
    std::call_once(abandonedRemoved, [this] { removeAbandoned(temporary_); });

    const QString path =
        temporary_ + QStringLiteral("/Bitglance-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0700) != 0)
        throwWriteFailure(path, errno);
    const QByteArray record = QByteArray::number(::getpid()) + ' ' + startTime(::getpid()) + '\n';
    const QByteArray recordPath = QFile::encodeName(path + QLatin1Char('/') + kOwnerRecord);
    // Owner only, whatever the umask.
    bool written = ::chmod(encoded.constData(), 0700) == 0;
    if (written) {
        const int descriptor = ::open(recordPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        written = descriptor >= 0 && ::write(descriptor, record.constData(), size_t(record.size())) == record.size();
        written = descriptor >= 0 && ::close(descriptor) == 0 && written;
    }
    if (!written) {
        const int error = errno;
        QDir(path).removeRecursively();
        throwWriteFailure(path, error);
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

bool WorkFolder::isFull() const
{
    struct statvfs space = {};
    return ::statvfs(QFile::encodeName(path_.isEmpty() ? temporary_ : path_).constData(), &space) == 0
        && space.f_bavail == 0;
}

void WorkFolder::throwWriteFailure(const QString &path, int error) const
{
    if (error == ENOSPC || error == EDQUOT || isFull())
        throw PreviewError::noSpace(temporary_);
    throw PreviewError::system(QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

void WorkFolder::removeAbandoned(const QString &temporaryFolder)
{
    static const QRegularExpression name(QStringLiteral("^Bitglance-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"));
    const QDir folder(temporaryFolder);
    const QStringList entries =
        folder.entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QString path = folder.filePath(entry);
        struct stat info = {};
        if (!name.match(entry).hasMatch() || ::lstat(QFile::encodeName(path).constData(), &info) != 0
            || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        QFile record(path + QLatin1Char('/') + kOwnerRecord);
        const QList<QByteArray> owner =
            record.open(QIODevice::ReadOnly) ? record.read(100).trimmed().split(' ') : QList<QByteArray>();
        bool isNumber = false;
        const qint64 pid = owner.value(0).toLongLong(&isNumber);
        const bool recorded = owner.size() == 2 && isNumber && pid > 0 && !owner[1].isEmpty();
        if (recorded ? startTime(pid) == owner[1] : std::time(nullptr) - info.st_mtime < kRecordlessAgeSeconds)
            continue;
        QDir(path).removeRecursively();
    }
}
