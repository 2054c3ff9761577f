#include "catalogue/CatalogFileInput.h"

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

bool CatalogFileInput::More()
{
    const qsizetype kept = Size();
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
    const qint64 n = m_file.read(m_buffer.get() + m_end, m_capacity - m_end);
    m_failed = m_failed || n < 0;
    if (n <= 0)
        return false;
    m_end += qsizetype(n);
    return true;
}
