#pragma once
// What the exchange fuzz targets share: reading bytes through the line reader,
// a scratch folder for the run, and the check that stops the run on a difference.

#include "exchange/LineFile.h"
#include "tests/CatalogOutline.h"
#include "tests/RawNames.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>

#include <cstdint>
#include <cstdlib>
#include <functional>

inline void Check(bool condition)
{
    if (!condition)
        abort();
}

// Calls read with a line reader over the bytes.
inline void ReadBytes(const QByteArray &bytes, const std::function<void(TLineReader &)> &read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TLineReader lines(buffer, QStringLiteral("fuzz input"));
    read(lines);
}

// One scratch folder for the whole run (in memory when /dev/shm exists), emptied
// before each input and removed at exit. A plain buffer holds its name, so that it
// outlives the static objects that exit destroys first.
inline QString ScratchFolder()
{
    static char path[4096];
    if (!path[0]) {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        qstrncpy(path, QFile::encodeName(base + QStringLiteral("/vk_fuzz_XXXXXX")), sizeof path);
        if (!mkdtemp(path))
            abort();
        std::atexit([] { RemoveRawTree(path); });
    }
    RemoveRawTree(path);
    QDir().mkpath(QFile::decodeName(path));
    return QFile::decodeName(path);
}

inline QByteArray BytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The tree that write writes and read reads back must be the tree itself, as far
// as options compare.
inline void CheckRoundTrip(const TCatalog &first, void (*write)(const TCatalog &, TLineWriter &),
                           void (*read)(TCatalog &, TLineReader &, TFolder *),
                           OutlineOptions options = {})
{
    TLineWriter written;
    write(first, written);
    TCatalog second;
    ReadBytes(written.Bytes(),
              [&second, read](TLineReader &lines) { read(second, lines, nullptr); });
    Check(CatalogOutline(first, options) == CatalogOutline(second, options));
}
