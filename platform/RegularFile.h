#pragma once
// Reads a whole file only when it is a regular file within a size bound. The type
// is checked on the opened descriptor, and the open never waits, so neither a FIFO
// nor a device nor a file swapped for one after a check can hang the reader, and
// no file can exhaust memory.

#include <QByteArray>
#include <QString>

class QFile;

struct RegularFileContents
{
    enum class Outcome {
        Read,       // bytes holds the whole file
        Missing,    // nothing of that name (or a folder on the way is missing)
        NotRegular, // a folder, a FIFO, a socket or a device
        TooLarge,   // a regular file larger than the bound
        Unreadable, // a regular file, or anything, that could not be opened or read
    };
    Outcome outcome = Outcome::Missing;
    QByteArray bytes;
    QString error; // why it was not read: the system's reason, or the bound's
};

// Symbolic links are followed. maxSize is the largest file read, in bytes.
RegularFileContents ReadRegularFile(const QString &fileName, qint64 maxSize);
// The same for a file named by the bytes of its path (a listed name that may not be
// UTF-8, see DirectoryEntry::rawName).
RegularFileContents ReadRegularFileAt(const QByteArray &path, qint64 maxSize);

// Opens the file at path for unbuffered reading into file, which then owns it, when
// it is a regular file; never waits on a FIFO. Read when it is open, otherwise the
// outcome and, in error, the reason as ReadRegularFile gives them.
RegularFileContents::Outcome OpenRegularFile(const QByteArray &path, QFile &file,
                                             QString &error);
