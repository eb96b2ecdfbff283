#pragma once

#include <QByteArray>
#include <QString>

// A file of the user's, written whole or not at all: into a new file beside it, which takes its
// place at the end. Never written through a symbolic link, which another user may have planted in
// a shared folder: a destination that is a link is refused. A file that was there keeps its
// permissions; a new one gets those the umask leaves.
class OutputFile {
public:
    // Throws PreviewError::linkRefused() when path is a symbolic link, a system PreviewError when the file
    // beside it cannot be made.
    explicit OutputFile(QString path);
    // Removes the file beside the destination unless commit() put it in place.
    ~OutputFile();

    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Throw PreviewError::noSpaceFor() when the disk is full, PreviewError::linkRefused() when the
    // destination has become a link, a system PreviewError for any other failure.
    void write(const QByteArray &bytes);
    void commit();

    // The whole file in one go.
    static void writeWhole(const QString &path, const QByteArray &bytes);

private:
    [[noreturn]] void fail(int error) const;
    void refuseLink() const;

    QString path_;
    QByteArray temporary_; // the new file beside it, until it takes the destination's place
    int descriptor_ = -1;
    int mode_ = -1; // the permissions of the file it replaces
};
