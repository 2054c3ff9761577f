#pragma once
// The catalogue file read in blocks for the streaming reader. The bytes not yet
// consumed move to the front of the buffer when more is read, so a token found
// with Find is whole in memory; the buffer grows for a token longer than itself.

#include <QFile>

#include <memory>

class CatalogFileInput
{
public:
    static constexpr qsizetype kBlock = 256 * 1024;

    bool Open(const QString &fileName);

    const char *Data() const { return m_buffer.get() + m_pos; }
    qsizetype Size() const { return m_end - m_pos; }
    void Consume(qsizetype n) { m_pos += n; }
    // A read failed (the end of the file is no failure).
    bool Failed() const { return m_failed; }

    // Reads more, keeping what is not consumed; false at the end of the file.
    bool More();
    // Reads until n bytes are at hand; false when the file ends first.
    bool Ensure(qsizetype n);
    // The offset from Data() of the first c at or after from, reading on as
    // needed; -1 when the file ends first.
    qsizetype Find(char c, qsizetype from);

private:

    QFile m_file;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_capacity = 0;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    bool m_failed = false;
};
