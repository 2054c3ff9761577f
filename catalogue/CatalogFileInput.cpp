#include "catalogue/CatalogFileInput.h"
#include "catalogue/XmlChars.h"

#include <cstring>

bool CatalogFileInput::Open(const QString &fileName)
{
    m_file.setFileName(fileName);
    return m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool CatalogFileInput::Ensure(qsizetype n)
{
    while (Size() < n)
        if (!More())
            return false;
    return true;
}

qsizetype CatalogFileInput::Find(char c, qsizetype from)
{
    for (;;) {
        if (from < Size())
            if (const void *hit = std::memchr(Data() + from, c, size_t(Size() - from)))
                return static_cast<const char *>(hit) - Data();
        from = Size();
        if (!More())
            return -1;
    }
}

// The bytes read are checked as they come; a sequence cut at their end waits,
// unseen, for the rest.
bool CatalogFileInput::More()
{
    if (m_failed)
        return false;
    const qsizetype kept = m_end - m_pos;
    const qsizetype unchecked = m_end - m_checked;
    if (kept > m_capacity / 2 || !m_buffer) {
        const qsizetype capacity = qMax(m_block, 2 * m_capacity);
        auto buffer = std::make_unique_for_overwrite<char[]>(size_t(capacity));
        if (kept > 0)
            std::memcpy(buffer.get(), Data(), size_t(kept));
        m_buffer = std::move(buffer);
        m_capacity = capacity;
    } else if (m_pos > 0) {
        std::memmove(m_buffer.get(), Data(), size_t(kept));
    }
    m_pos = 0;
    m_end = kept;
    m_checked = kept - unchecked;
    const qint64 n = m_file.read(m_buffer.get() + m_end, m_capacity - m_end);
    if (n <= 0) {
        m_failed = n < 0 || unchecked > 0; // a sequence that the file's end cuts short
        return false;
    }
    m_end += qsizetype(n);
    const QByteArrayView fresh(m_buffer.get() + m_checked, m_end - m_checked);
    const qsizetype complete = CompleteUtf8Size(fresh);
    if (CheckXmlUtf8(fresh.first(complete)).kind != XmlUtf8Fault::None) {
        m_failed = true;
        return false;
    }
    m_checked += complete;
    return true;
}
