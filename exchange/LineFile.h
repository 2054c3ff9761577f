#pragma once
// Line-based exchange files: TLineReader hands out the lines of a file read in
// 64 KiB blocks; TLineWriter collects lines as UTF-8, each ended with CR LF, for
// one atomic write. Neither holds a file's text more than once.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <memory>

class QFile;
class QIODevice;

// True for a regular file, after following links: the only kind of file the
// importers read. A missing file is no error, and neither is a folder, a FIFO or
// a device, which would block a reader or never end.
bool IsExistingFile(const QString &fileName);

// The longest line a reader takes; a longer one ends the reading with an error.
constexpr qsizetype kLongestLine = 64 * 1024 * 1024;

// The text without the characters of code 32 or less at both ends.
QByteArrayView TrimLine(QByteArrayView line);
QStringView TrimText(QStringView text);

class TLineReader
{
public:
    // Opens the file; raises "Cannot open file "%s". %s" when it cannot.
    explicit TLineReader(const QString &fileName);
    // Reads an open device (tests, fuzzing); name is the one errors give.
    TLineReader(QIODevice &device, const QString &name);
    ~TLineReader();
    TLineReader(const TLineReader &) = delete;
    TLineReader &operator=(const TLineReader &) = delete;

    // The next line without its end (LF, CR LF or a lone CR); false at the end of
    // the file. A UTF-8 byte-order mark at the start is skipped. The view stays
    // valid until the next call. Raises "Cannot read file "%s". %s" on a failure
    // and on a line longer than kLongestLine.
    bool ReadLine(QByteArrayView &line);

    // The file name, or the name given with the device.
    const QString &Name() const { return m_name; }

private:
    bool Fill();
    [[noreturn]] void RaiseReadError(const QString &reason) const;

    std::unique_ptr<QFile> m_file;
    QIODevice *m_device;
    QString m_name;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_started = false;
};

class TLineWriter
{
public:
    TLineWriter();

    // Appends to the line being written.
    void Append(QStringView text);
    void Append(QLatin1StringView text);
    // Ends the line with CR LF.
    void EndLine();
    // A whole line.
    void Line(QLatin1StringView text)
    {
        Append(text);
        EndLine();
    }

    const QByteArray &Bytes() const { return m_bytes; }
    // Replaces the file with the lines written, atomically; raises "Unable to
    // write to %s" with the file name and the reason.
    void WriteFile(const QString &fileName) const;

private:
    QStringEncoder m_encoder;
    QByteArray m_bytes;
};
