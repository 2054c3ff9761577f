#include "platform/IniFile.h"
#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/TextCodec.h"

#include <optional>

namespace {

// What a read returns at the most (the reader's buffer holds 2048 characters).
constexpr qsizetype kMaxValueLength = 2047;

bool IsBlank(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool IsQuoted(QStringView text)
{
    return text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'')
        && text.back() == text.front();
}

// A value as the reader returns it: one pair of enclosing quotes removed, then cut
// to the reader's length without splitting a surrogate pair.
QString Unquote(QStringView value)
{
    if (IsQuoted(value))
        value = value.mid(1, value.size() - 2);
    qsizetype length = qMin(value.size(), kMaxValueLength);
    if (length < value.size() && value[length - 1].isHighSurrogate())
        --length;
    return value.left(length).toString();
}

// Line breaks would split the line and forge other keys: they become blanks.
QString OneLine(const QString &text)
{
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line;
}

// A value is written as it is, unless reading it back would lose its outer blanks
// or its quotes: then it is enclosed in one more pair of quotes.
QString EncodeValue(const QString &value)
{
    const QString line = OneLine(value);
    if (TrimBlanks(line).size() != line.size() || IsQuoted(line))
        return u'"' + line + u'"';
    return line;
}

std::optional<quint64> ParseDigits(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    quint64 result = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const int digit = (u >= '0' && u <= '9') ? u - '0'
            : (u >= 'a' && u <= 'f')             ? u - 'a' + 10
            : (u >= 'A' && u <= 'F')             ? u - 'A' + 10
                                                 : -1;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        result = result * quint64(base) + quint64(digit);
        if (result > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return result;
}

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X"; eight hex
// digits may carry the sign bit ($FFFFFFFF is -1), as the original reader allows.
std::optional<int> ParseInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    std::optional<quint64> magnitude;
    if (text.startsWith(u'$')) {
        magnitude = ParseDigits(text.mid(1), 16);
    } else if (text.startsWith(u"0x") || text.startsWith(u"0X")) {
        magnitude = ParseDigits(text.mid(2), 16);
    } else {
        magnitude = ParseDigits(text, 10);
        if (magnitude && *magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
            return std::nullopt;
    }
    if (!magnitude)
        return std::nullopt;
    const quint32 bits = quint32(*magnitude);
    return int(negative ? 0u - bits : bits);
}

} // namespace

IniFile::IniFile(QString fileName, Mode mode, qint64 largestFile)
    : m_fileName(std::move(fileName)), m_mode(mode)
{
    Load(ReadRegularFile(m_fileName, largestFile));
}

IniFile::IniFile(QString fileName, RegularFileContents file, Mode mode)
    : m_fileName(std::move(fileName)), m_mode(mode)
{
    Load(std::move(file));
}

void IniFile::Load(RegularFileContents file)
{
    using Outcome = RegularFileContents::Outcome;
    m_present = file.outcome == Outcome::Read || file.outcome == Outcome::Unreadable;
    if (file.outcome != Outcome::Read) {
        if (file.outcome != Outcome::Missing)
            m_readError = file.error;
        return;
    }
    QByteArray &bytes = file.bytes;
    m_byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (m_byteOrderMark)
        bytes.remove(0, 3);
    const QString contents = DecodeUtf8OrAnsi(bytes);
    bytes.clear(); // the text is held once
    const QStringList lines = contents.split(u'\n');
    m_lines.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = lines[i];
        if (i == lines.size() - 1 && text.isEmpty())
            break; // the break after the last line
        if (text.endsWith(u'\r'))
            text.chop(1);
        m_lines.push_back(ParseLine(text));
    }
}

IniFile::Line IniFile::ParseLine(const QString &text)
{
    Line line;
    line.text = text;
    const QStringView trimmed = TrimBlanks(text);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        line.kind = Kind::Section;
        line.name = TrimBlanks(trimmed.mid(1, close < 0 ? -1 : close - 1)).toString();
    } else if (!trimmed.startsWith(u';')) {
        const qsizetype equals = trimmed.indexOf(u'=');
        if (equals <= 0)
            return line;
        line.name = TrimBlanks(trimmed.left(equals)).toString();
        if (line.name.isEmpty())
            return line;
        line.kind = Kind::Key;
        line.value = TrimBlanks(trimmed.mid(equals + 1)).toString();
    }
    line.folded = AsciiUpper(line.name);
    return line;
}

int IniFile::FindSection(const QString &section) const
{
    const QString folded = AsciiUpper(TrimBlanks(section));
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::Section && m_lines[i].folded == folded)
            return int(i);
    return -1;
}

int IniFile::SectionEnd(int sectionLine) const
{
    size_t i = size_t(sectionLine) + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section)
        ++i;
    return int(i);
}

int IniFile::FindKey(const QString &section, const QString &key) const
{
    const int start = FindSection(section);
    if (start < 0)
        return -1;
    const QString folded = AsciiUpper(TrimBlanks(key));
    const int end = SectionEnd(start);
    for (int i = start + 1; i < end; ++i)
        if (m_lines[size_t(i)].kind == Kind::Key && m_lines[size_t(i)].folded == folded)
            return i;
    return -1;
}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const int i = FindKey(section, key);
    return i < 0 ? defaultValue : Unquote(m_lines[size_t(i)].value);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const int i = FindKey(section, key);
    if (i < 0)
        return defaultValue;
    return ParseInteger(Unquote(m_lines[size_t(i)].value)).value_or(defaultValue);
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList IniFile::ReadSections() const
{
    QStringList names;
    for (const Line &line : m_lines)
        if (line.kind == Kind::Section)
            names.append(line.name);
    return names;
}

QStringList IniFile::ReadSection(const QString &section) const
{
    QStringList keys;
    const int start = FindSection(section);
    if (start < 0)
        return keys;
    const int end = SectionEnd(start);
    for (int i = start + 1; i < end; ++i)
        if (m_lines[size_t(i)].kind == Kind::Key)
            keys.append(m_lines[size_t(i)].name);
    return keys;
}

bool IniFile::SectionExists(const QString &section) const
{
    return FindSection(section) >= 0;
}

bool IniFile::ValueExists(const QString &section, const QString &key) const
{
    return FindKey(section, key) >= 0;
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString keyName = TrimBlanks(OneLine(key)).toString();
    const QString text = keyName + u'=' + EncodeValue(value);
    if (const int i = FindKey(section, keyName); i >= 0) {
        Line &line = m_lines[size_t(i)];
        line = ParseLine(line.name + text.mid(keyName.size()));
    } else {
        int start = FindSection(section);
        if (start < 0) {
            if (!m_lines.empty() && !TrimBlanks(m_lines.back().text).isEmpty())
                m_lines.push_back(ParseLine(QString()));
            m_lines.push_back(ParseLine(u'[' + OneLine(section) + u']'));
            start = int(m_lines.size()) - 1;
        }
        // After the section's last line that is not blank, so blank lines
        // between sections stay where they are.
        int at = SectionEnd(start);
        while (at > start + 1 && TrimBlanks(m_lines[size_t(at - 1)].text).isEmpty())
            --at;
        m_lines.insert(m_lines.begin() + at, ParseLine(text));
    }
    Changed();
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::Changed()
{
    if (m_mode == Mode::WriteThrough)
        UpdateFile();
}

void IniFile::UpdateFile()
{
    if (!m_readError.isEmpty())
        RaiseWriteError(m_fileName, m_readError);
    QString contents;
    if (m_byteOrderMark)
        contents += QChar(0xFEFF);
    for (const Line &line : m_lines)
        contents += line.text + QStringLiteral("\r\n");
    WriteFileAtomically(m_fileName, contents.toUtf8());
}
