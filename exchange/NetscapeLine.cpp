#include "exchange/NetscapeLine.h"
#include "exchange/HtmlText.h"
#include "platform/AsciiCase.h"

namespace {

// Compares the line from at with prefix (upper case), ASCII letters without case.
bool HasAt(QByteArrayView line, qsizetype at, QByteArrayView prefix)
{
    if (line.size() - at < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i)
        if (AsciiUpperChar(line[at + i]) != prefix[i])
            return false;
    return true;
}

// A line break stands only where TNetscapeScanner joined lines.
template <typename Char>
bool IsBlank(Char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\n';
}

// After the tag name: the start tag goes on, or the line ends.
bool EndsName(QByteArrayView line, qsizetype at, bool blankOnly)
{
    if (at == line.size())
        return !blankOnly;
    return IsBlank(line[at]) || (!blankOnly && line[at] == '>');
}

struct StartTag
{
    qsizetype end = -1; // the ">" that ends it; -1 when none does
    QStringView href;
    bool hasHref = false;
};

// Reads one attribute value from at; false when its quote never closes.
bool ReadValue(QStringView s, qsizetype &at, QStringView &value)
{
    const qsizetype n = s.size();
    if (at < n && (s[at] == u'"' || s[at] == u'\'')) {
        const qsizetype close = s.indexOf(s[at], at + 1);
        if (close < 0)
            return false;
        value = s.sliced(at + 1, close - at - 1);
        at = close + 1;
        return true;
    }
    const qsizetype start = at;
    while (at < n && !IsBlank(s[at]) && s[at] != u'>')
        ++at;
    value = s.sliced(start, at - start);
    return true;
}

// The attributes of a start tag from at, as HTML reads them; of several HREF
// attributes the first counts.
StartTag ParseStartTag(QStringView s, qsizetype at)
{
    StartTag tag;
    const qsizetype n = s.size();
    for (;;) {
        while (at < n && IsBlank(s[at]))
            ++at;
        if (at == n || s[at] == u'>') {
            tag.end = at == n ? -1 : at;
            return tag;
        }
        const qsizetype name = at;
        while (at < n && !IsBlank(s[at]) && s[at] != u'=' && s[at] != u'>')
            ++at;
        const bool href =
            !tag.hasHref && at - name == 4 && SameTextAscii(s.sliced(name, 4), u"HREF");
        tag.hasHref = tag.hasHref || href;
        qsizetype next = at;
        while (next < n && IsBlank(s[next]))
            ++next;
        if (next == n || s[next] != u'=')
            continue; // an attribute without a value
        at = next + 1;
        while (at < n && IsBlank(s[at]))
            ++at;
        QStringView value;
        if (!ReadValue(s, at, value))
            return tag;
        if (href)
            tag.href = value;
    }
}

// The first "<!--" in line from at; -1 when none. A search for the rare "!"
// first: most lines hold several "<".
qsizetype FindCommentStart(QByteArrayView line, qsizetype at)
{
    for (at = line.indexOf('!', at + 1); at > 0; at = line.indexOf('!', at + 1))
        if (line[at - 1] == '<' && line.sliced(at + 1).startsWith("--"))
            return at - 1;
    return -1;
}

// The first closing tag in line from at, ASCII letters without case; -1 when none.
qsizetype FindClosingTag(QStringView line, qsizetype at, QStringView closing)
{
    for (at = line.indexOf(u'<', at); at >= 0; at = line.indexOf(u'<', at + 1)) {
        if (line.size() - at < closing.size())
            return -1;
        if (SameTextAscii(line.sliced(at, closing.size()), closing))
            return at;
    }
    return -1;
}

// Lines joined by "\n" as one: a run of breaks inside reads as one blank, at the
// ends as nothing ("\nDrawing\n\nLesson" gives "Drawing Lesson").
QString JoinLines(QStringView text)
{
    QString joined;
    joined.reserve(text.size());
    bool gap = false;
    for (const QChar c : text) {
        if (c == u'\n') {
            gap = !joined.isEmpty();
            continue;
        }
        if (gap)
            joined += u' ';
        gap = false;
        joined += c;
    }
    return joined;
}

} // namespace

NetscapeLine ClassifyLine(QByteArrayView line)
{
    if (line.isEmpty() || line[0] != '<')
        return {};
    if (HasAt(line, 0, "</DL>"))
        return {NetscapeKind::EndOfList, 5};
    if (HasAt(line, 0, "<DD>"))
        return {NetscapeKind::Description, 4};
    if (HasAt(line, 0, "<H1") && EndsName(line, 3, false))
        return {NetscapeKind::Heading, 3};
    qsizetype at = 0;
    if (HasAt(line, 0, "<DT>")) {
        at = 4;
        while (at < line.size() && IsBlank(line[at]))
            ++at;
    }
    if (HasAt(line, at, "<H3") && EndsName(line, at + 3, false))
        return {NetscapeKind::Folder, at + 3};
    if (HasAt(line, at, "<A") && EndsName(line, at + 2, true))
        return {NetscapeKind::Bookmark, at + 2};
    return {};
}

bool IsListMarkup(QByteArrayView line)
{
    for (const QByteArrayView tag : {"<DT", "<DL", "<HR", "</DT", "</DD"})
        if (HasAt(line, 0, tag) && EndsName(line, tag.size(), false))
            return true;
    return false;
}

bool HoldsClosingTag(QStringView line, qsizetype at, QStringView closing)
{
    // Most lines end with it: no need to search them.
    const qsizetype n = closing.size();
    if (line.size() - at >= n && SameTextAscii(line.last(n), closing))
        return true;
    return FindClosingTag(line, at, closing) >= 0;
}

NetscapeElement ReadElement(QStringView line, const NetscapeLine &at, QStringView closing)
{
    const StartTag tag = ParseStartTag(line, at.rest);
    qsizetype text = tag.end + 1;
    if (tag.end < 0) {
        const qsizetype first = line.indexOf(u'>', at.rest);
        text = first < 0 ? line.size() : first + 1;
    }
    qsizetype end = FindClosingTag(line, text, closing);
    if (end < 0)
        end = line.size();
    NetscapeElement element;
    const QStringView title = line.sliced(text, end - text);
    if (at.joined) {
        element.title = DecodeHtmlEntities(JoinLines(title));
        element.address = DecodeHtmlEntities(tag.href.toString().remove(u'\n'));
    } else {
        element.title = DecodeHtmlEntities(title);
        element.address = DecodeHtmlEntities(tag.href);
    }
    element.hasAddress = tag.hasHref;
    return element;
}

QString ReadDescription(QStringView line, const NetscapeLine &at)
{
    QStringView text = line.sliced(at.rest);
    while (text.startsWith(u'\n'))
        text = text.sliced(1);
    while (text.endsWith(u'\n'))
        text.chop(1);
    return DecodeHtmlEntities(text);
}

QByteArrayView TCommentFilter::Filter(QByteArrayView line)
{
    if (!m_inComment && FindCommentStart(line, 0) < 0)
        return line;
    m_kept.clear();
    qsizetype at = 0;
    for (;;) {
        if (m_inComment) {
            const qsizetype close = line.indexOf("-->", at);
            if (close < 0)
                return m_kept;
            at = close + 3;
            m_inComment = false;
        }
        const qsizetype open = FindCommentStart(line, at);
        if (open < 0)
            break;
        m_kept.append(line.sliced(at, open - at));
        // "<!-->" and "<!--->" are whole comments too.
        at = open + 2;
        m_inComment = true;
    }
    m_kept.append(line.sliced(at));
    return m_kept;
}
