#pragma once
// Small helpers shared by the test suites.

#include "platform/VarnokelError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

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
