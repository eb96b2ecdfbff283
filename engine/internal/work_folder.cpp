#include "engine/internal/work_folder.h"

#include "engine/preview_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QString kOwnerRecord = QStringLiteral("owner");
// An owner record is "<pid> <start time>\n": anything longer is none.
constexpr qint64 kRecordBytes = 100;
// A folder without an owner record may belong to an engine that is being created right now.
constexpr time_t kRecordlessAgeSeconds = 60;

std::mutex registryMutex;
std::set<const WorkFolder *> registry;

// A program that ends through exit() (Qt does so when the display connection breaks, for instance
// at a logout) never destroys the engines its windows own; their folders of movie frames still go.
// Made on first use, after the registry, and therefore destroyed before it.
struct RemoveFoldersAtExit {
    ~RemoveFoldersAtExit()
    {
        std::lock_guard lock(registryMutex);
        for (const WorkFolder *live : registry)
            WorkFolder::removeTree(live->path());
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

// The owner record of a folder, opened without waiting (a FIFO) and without following a link; -1
// when there is none or it is anything but a small regular file. For writing where it can be, as
// NFS takes an exclusive lock on a file open for writing only.
int openRecord(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + kOwnerRecord);
    const int flags = O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
    int record = ::open(path.constData(), O_RDWR | flags);
    if (record < 0 && errno == EACCES)
        record = ::open(path.constData(), O_RDONLY | flags);
    struct stat info = {};
    if (record >= 0 && (::fstat(record, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kRecordBytes)) {
        ::close(record);
        return -1;
    }
    return record;
}

// Empties the open folder, never following a link. A folder inside that cannot be emptied or
// opened is made the owner's through its own descriptor, or by name without following a link.
bool removeEntries(int folder)
{
    const int listed = ::dup(folder);
    DIR *listing = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!listing) {
        if (listed >= 0)
            ::close(listed);
        return false;
    }
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(listing);
    bool removed = true;
    for (const QByteArray &name : std::as_const(names)) {
        struct stat info = {};
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            removed = removed && errno == ENOENT;
            continue;
        }
        const bool isFolder = S_ISDIR(info.st_mode);
        if (isFolder) {
            int inner = ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner < 0 && errno == EACCES && ::fchmodat(folder, name.constData(), 0700, AT_SYMLINK_NOFOLLOW) == 0)
                inner = ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner < 0) {
                removed = false;
                continue;
            }
            removed = removeEntries(inner) && removed;
            ::close(inner);
        }
        const int flags = isFolder ? AT_REMOVEDIR : 0;
        if (::unlinkat(folder, name.constData(), flags) == 0 || errno == ENOENT)
            continue;
        removed = errno == EACCES && ::fchmod(folder, 0700) == 0 && ::unlinkat(folder, name.constData(), flags) == 0
            && removed;
    }
    return removed;
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
        lock_ = ::open(recordPath.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        // Locked before it says anything: a record without content is a folder being made. Where
        // the file system has no locks, no other process can prove the folder abandoned either.
        if (lock_ >= 0)
            (void)::flock(lock_, LOCK_EX);
        written = lock_ >= 0 && ::write(lock_, record.constData(), size_t(record.size())) == record.size();
    }
    if (!written) {
        const int error = errno;
        removeTree(path);
        if (lock_ >= 0)
            ::close(lock_);
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
    removeTree(path_);
    ::close(lock_);
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
        // A lock on the record proves its owner gone wherever it ran; the process id is looked at
        // too, for an owner that took no lock.
        const int record = openRecord(path);
        if (record >= 0 && ::flock(record, LOCK_EX | LOCK_NB) != 0) {
            ::close(record);
            continue;
        }
        char text[kRecordBytes + 1] = {};
        const ssize_t length = record < 0 ? 0 : ::read(record, text, kRecordBytes);
        const QList<QByteArray> owner = QByteArray(text, std::max<ssize_t>(length, 0)).trimmed().split(' ');
        bool isNumber = false;
        const qint64 pid = owner.value(0).toLongLong(&isNumber);
        const bool recorded = owner.size() == 2 && isNumber && pid > 0 && !owner[1].isEmpty();
        if (!(recorded ? startTime(pid) == owner[1] : std::time(nullptr) - info.st_mtime < kRecordlessAgeSeconds))
            removeTree(path);
        if (record >= 0)
            ::close(record);
    }
}

bool WorkFolder::removeTree(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int folder = ::open(encoded.constData(), flags);
    if (folder < 0 && errno == EACCES && ::fchmodat(AT_FDCWD, encoded.constData(), 0700, AT_SYMLINK_NOFOLLOW) == 0)
        folder = ::open(encoded.constData(), flags);
    if (folder < 0) {
        if (errno == ENOENT)
            return true;
        return (errno == ENOTDIR || errno == ELOOP) && ::unlink(encoded.constData()) == 0; // a link or a file
    }
    const bool emptied = removeEntries(folder);
    ::close(folder);
    return emptied && (::rmdir(encoded.constData()) == 0 || errno == ENOENT);
}
