#pragma once

#include <QTemporaryDir>

// Points TMPDIR at a fresh private folder while it lives, so that work folders can be counted.
struct PrivateTempDir {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("TMPDIR");
    PrivateTempDir() { qputenv("TMPDIR", dir.path().toLocal8Bit()); }
    ~PrivateTempDir() { previous.isNull() ? (void)qunsetenv("TMPDIR") : (void)qputenv("TMPDIR", previous); }
};
