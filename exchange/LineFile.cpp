#include "exchange/LineFile.h"
#include "platform/AtomicFile.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kBlockSize = 64 * 1024;

} // namespace

bool IsExistingFile(const QString &fileName)
{
    return !fileName.isEmpty() && QFileInfo(fileName).isFile();
}

QByteArrayView TrimLine(QByteArrayView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 32)
        --end;
    return line.sliced(begin, end - begin);
}

QStringView TrimText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin);
}

TLineReader::TLineReader(const QString &fileName)
    : m_file(std::make_unique<QFile>(fileName)), m_device(m_file.get()), m_name(fileName)
{
    // Unbuffered: the reader reads whole blocks itself.
    if (!m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw VarnokelError(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(fileName, m_file->errorString()));
}

TLineReader::TLineReader(QIODevice &device, const QString &name)
    : m_device(&device), m_name(name)
{
}

TLineReader::~TLineReader() = default;

void TLineReader::RaiseReadError(const QString &reason) const
{
    throw VarnokelError(QStringLiteral("Cannot read file \"%1\". %2").arg(m_name, reason));
}

bool TLineReader::Fill()
{
    // Keep the unfinished line, then append a block after it.
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + kBlockSize);
    const qint64 got = m_device->read(m_buffer.data() + kept, kBlockSize);
    if (got < 0) {
        m_buffer.resize(kept);
        RaiseReadError(m_device->errorString());
    }
    m_buffer.resize(kept + qsizetype(got));
    m_atEnd = got == 0;
    return !m_atEnd;
}

bool TLineReader::ReadLine(QByteArrayView &line)
{
    qsizetype scanned = 0; // bytes after m_pos known to hold no line end
    for (;;) {
        if (!m_started && (m_buffer.size() - m_pos >= 3 || m_atEnd)) {
            m_started = true;
            if (QByteArrayView(m_buffer).sliced(m_pos).startsWith("\xEF\xBB\xBF")) {
                m_pos += 3;
                scanned = 0;
            }
        }
        const char *data = m_buffer.constData();
        const qsizetype size = m_buffer.size();
        qsizetype i = m_pos + scanned;
        while (i < size && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i - m_pos > kLongestLine)
            RaiseReadError(QStringLiteral("A line is longer than 64 MiB"));
        // A CR at the end of the buffer may be the first half of CR LF.
        if (m_started && i < size && (data[i] == '\n' || i + 1 < size || m_atEnd)) {
            line = QByteArrayView(data + m_pos, i - m_pos);
            m_pos = i + 1;
            if (data[i] == '\r' && m_pos < size && data[m_pos] == '\n')
                ++m_pos;
            return true;
        }
        if (m_atEnd) {
            if (m_pos >= size)
                return false;
            // The last line of a file that does not end with a line break.
            line = QByteArrayView(data + m_pos, size - m_pos);
            m_pos = size;
            return true;
        }
        scanned = i - m_pos;
        Fill();
    }
}

TLineWriter::TLineWriter() : m_encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless)
{
}

void TLineWriter::Append(QStringView text)
{
    const qsizetype old = m_bytes.size();
    m_bytes.resize(old + m_encoder.requiredSpace(text.size()));
    char *end = m_encoder.appendToBuffer(m_bytes.data() + old, text);
    m_bytes.resize(end - m_bytes.constData());
}

void TLineWriter::Append(QLatin1StringView text)
{
    // Only ASCII literals come this way: the bytes are already UTF-8.
    m_bytes.append(text.data(), text.size());
}

void TLineWriter::EndLine()
{
    m_bytes.append("\r\n", 2);
}

void TLineWriter::WriteFile(const QString &fileName) const
{
    WriteFileAtomically(fileName, m_bytes);
}
