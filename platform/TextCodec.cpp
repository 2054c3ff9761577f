#include "platform/TextCodec.h"

#include <QStringDecoder>

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes keep their C1 code.
const char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool IsValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        out[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHighControls[c - 0x80]) : QChar(c);
    }
    return text;
}

QString DecodeUtf8OrAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return DecodeWindows1252(bytes);
}

namespace {

int Base64Value(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    return c == u'+' ? 62 : c == u'/' ? 63 : -1;
}

// UTF-16 units as they come out of base64 runs; tells a lone surrogate.
class Utf16Units
{
public:
    bool Add(char16_t unit)
    {
        if (m_high && !QChar::isLowSurrogate(unit))
            return false;
        if (!m_high && QChar::isLowSurrogate(unit))
            return false;
        m_high = QChar::isHighSurrogate(unit);
        m_text += QChar(unit);
        return true;
    }
    bool Complete() const { return !m_high; }
    QString &Text() { return m_text; }

private:
    QString m_text;
    bool m_high = false; // the last unit opens a pair
};

} // namespace

std::optional<QString> DecodeUtf7(QStringView text)
{
    Utf16Units out;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t c = text[i++].unicode();
        if (c >= 0x80)
            return std::nullopt;
        if (c != u'+') {
            if (!out.Complete())
                return std::nullopt;
            out.Text() += QChar(c);
            continue;
        }
        if (i < text.size() && text[i] == u'-') {
            out.Text() += u'+';
            ++i;
            continue;
        }
        quint32 bits = 0;
        int count = 0; // bits held
        int digits = 0;
        for (int value; i < text.size() && (value = Base64Value(text[i].unicode())) >= 0; ++i) {
            bits = (bits << 6) | quint32(value);
            count += 6;
            ++digits;
            if (count >= 16) {
                count -= 16;
                if (!out.Add(char16_t(bits >> count)))
                    return std::nullopt;
                bits &= (1u << count) - 1;
            }
        }
        if (digits == 0 || count >= 6 || bits != 0)
            return std::nullopt;
        if (i < text.size() && text[i] == u'-') // the run's end mark is no character
            ++i;
    }
    if (!out.Complete())
        return std::nullopt;
    return std::move(out.Text());
}
