#pragma once

#include <QByteArray>
#include <QUrl>

// A movie's file name travels as a file URL whose encoded path holds the name's bytes exactly, so
// that a name that is not valid UTF-8 still reaches the file system as the bytes it holds.

// The URL of the movie at path, made absolute against the current folder when it can be.
QUrl movieUrl(const QByteArray &path);
// The bytes of a file URL's path; empty for a URL that is not a local file.
QByteArray movieBytes(const QUrl &url);
