#pragma once
// Text inside HTML: Netscape bookmark files and the generated page. Reading
// decodes character references ("&#233;", "&#xE9;"; "&#128;" to "&#159;" as the
// Windows-1252 characters of those bytes) and the named entities of HTML 4
// ("&amp;", "&eacute;"); a reference that names nothing stays as written, and one
// to a character that XML cannot hold (IsXmlChar) gives nothing. Writing
// turns & < > " and every control character into references, so that no text can
// change the markup or break the line it stands in. THtmlBuffer writes a page.

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <cstring>

class TLineWriter;

QString DecodeHtmlEntities(QStringView text);

// Appends text escaped. With protectTrailingBlanks the blanks at its end are written
// as references too: they end a line, and a reader trims line ends.
void AppendHtmlEscaped(TLineWriter &out, QStringView text, bool protectTrailingBlanks = false);

// A page's bytes in one buffer: markup copied as it stands, texts escaped into
// UTF-8 in place. A page holds a few pieces a bookmark, too many to hand to
// TLineWriter one call each.
class THtmlBuffer
{
public:
    THtmlBuffer();

    // Makes room for n bytes more, so that writing them moves nothing.
    void Reserve(qsizetype n);

    // ASCII markup.
    void Put(QLatin1StringView markup)
    {
        std::memcpy(Room(markup.size()), markup.data(), size_t(markup.size()));
        m_size += markup.size();
    }
    void Put(const QByteArray &markup) { Put(QLatin1StringView(markup)); }
    // Ends the line with CR LF.
    void EndLine() { Put(QLatin1StringView("\r\n")); }
    void Line(QLatin1StringView markup)
    {
        Put(markup);
        EndLine();
    }
    // The text escaped as AppendHtmlEscaped escapes it; in an attribute value the
    // single quote as well, so that the value stays one whichever quotes are read.
    void Escaped(QStringView text, bool attribute = false);

    QByteArray Take();

private:
    // A pointer to at least n free bytes at the end of the page.
    char *Room(qsizetype n)
    {
        if (m_size + n > m_out.size())
            Reserve(qMax(m_out.size(), n));
        return m_out.data() + m_size;
    }

    QByteArray m_out;
    qsizetype m_size = 0;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
