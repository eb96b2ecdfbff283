#include "engine/output_file.h"

#include "engine/preview_error.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

OutputFile::OutputFile(QString path) : path_(std::move(path))
{
    refuseLink();
    const QFileInfo destination(path_);
    for (int attempt = 0; descriptor_ < 0 && attempt < 100; ++attempt) {
        temporary_ = QFile::encodeName(destination.path() + QStringLiteral("/.") + destination.fileName()
                                       + QLatin1Char('.') + QUuid::createUuid().toString(QUuid::Id128).left(12));
        descriptor_ =
            ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (descriptor_ < 0 && errno != EEXIST)
            fail(errno);
    }
    if (descriptor_ < 0)
        fail(EEXIST);
    struct stat info = {};
    if (::stat(QFile::encodeName(path_).constData(), &info) == 0 && S_ISREG(info.st_mode))
        mode_ = int(info.st_mode & 07777);
}

OutputFile::~OutputFile()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
}

void OutputFile::write(const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(descriptor_, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno != EINTR)
            fail(errno);
        done += std::max<ssize_t>(written, 0);
    }
}

void OutputFile::commit()
{
    if (mode_ >= 0 && ::fchmod(descriptor_, mode_t(mode_)) != 0)
        fail(errno);
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0)
        fail(errno);
    // rename() replaces a link that appears meanwhile, never what it names.
    refuseLink();
    if (std::rename(temporary_.constData(), QFile::encodeName(path_).constData()) != 0)
        fail(errno);
    temporary_.clear();
}

void OutputFile::writeWhole(const QString &path, const QByteArray &bytes)
{
    OutputFile file(path);
    file.write(bytes);
    file.commit();
}

void OutputFile::fail(int error) const
{
    if (error == ENOSPC || error == EDQUOT)
        throw PreviewError::noSpaceFor(path_);
    throw PreviewError::system(QStringLiteral("%1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(error))));
}

void OutputFile::refuseLink() const
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path_).constData(), &info) == 0 && S_ISLNK(info.st_mode))
        throw PreviewError::linkRefused(path_);
}
