#pragma once
// Small helpers shared by the test suites.

#include "platform/VarnokelError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

// The message of the VarnokelError that f raises; an empty text when it raises none.
template <typename F>
QString ErrorOf(F &&f)
{
    try {
        f();
    } catch (const VarnokelError &e) {
        return e.Message();
    }
    return QString();
}

// Writes a fixture file, making its folder first; a failure ends the test run.
inline void WriteFileBytes(const QString &fileName, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(fileName));
}

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray ReadFileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What a kill in the middle of one write over a file leaves: the first bytes new,
// the rest as they were.
inline void TearFile(const QString &fileName, const QByteArray &start)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0 || ::pwrite(fd, start.constData(), size_t(start.size()), 0) != start.size())
        qFatal("cannot tear %s", qPrintable(fileName));
    ::close(fd);
}
