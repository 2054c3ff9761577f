#include "exchange/NetscapeScanner.h"
#include "exchange/LineFile.h"
#include "platform/TextCodec.h"

bool TNetscapeScanner::ReadLine()
{
    QByteArrayView raw;
    if (!m_lines.ReadLine(raw))
        return false;
    m_trimmed = TrimLine(m_comments.Filter(raw));
    // A separator that shares its line with the next entry ("<HR>    <DT><H3 ...>")
    // is dropped, or that folder would be lost and the nesting go wrong.
    m_line = m_trimmed;
    while (m_line.size() >= 4 && m_line.first(4).compare("<HR>", Qt::CaseInsensitive) == 0)
        m_line = TrimLine(m_line.sliced(4));
    return true;
}

bool TNetscapeScanner::EndsText() const
{
    return ClassifyLine(m_line).kind != NetscapeKind::Other || IsListMarkup(m_trimmed);
}

// Appends the lines the text runs on; without a closing tag, up to the next entry.
void TNetscapeScanner::TakeLines(NetscapeEntry &entry, QStringView closing)
{
    QString &text = entry.text;
    qsizetype taken = 0;
    while (ReadLine()) {
        taken += m_line.size() + 1;
        if (taken > kLongestContinuation || EndsText()) {
            m_held = true;
            return;
        }
        // Each line on its own, as a line that is not UTF-8 is read as Windows-1252.
        const QString line = DecodeUtf8OrAnsi(m_line);
        text += u'\n';
        text += line;
        entry.at.joined = true;
        if (!closing.isEmpty() && HoldsClosingTag(line, 0, closing))
            return;
    }
}

bool TNetscapeScanner::Next(NetscapeEntry &entry)
{
    for (;;) {
        if (!m_held && !ReadLine())
            return false;
        m_held = false;
        entry.at = ClassifyLine(m_line);
        if (entry.at.kind == NetscapeKind::Other)
            continue;
        // The markup is ASCII, so only the lines it marks need decoding.
        entry.text = DecodeUtf8OrAnsi(m_line);
        const auto runsOn = [&entry](QStringView closing) {
            return !HoldsClosingTag(entry.text, entry.at.rest, closing);
        };
        if (entry.at.kind == NetscapeKind::Folder && runsOn(u"</H3>"))
            TakeLines(entry, u"</H3>");
        else if (entry.at.kind == NetscapeKind::Bookmark && runsOn(u"</A>"))
            TakeLines(entry, u"</A>");
        else if (entry.at.kind == NetscapeKind::Description)
            TakeLines(entry, {});
        return true;
    }
}
