#pragma once
// The markup of one line of a Netscape bookmark file, read as browsers read it:
// which entry the line holds, and the title and address of its element. A line
// holds one entry at most; TCommentFilter cuts comments out of the lines first.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

enum class NetscapeKind { Other, Heading, Folder, EndOfList, Description, Bookmark };

struct NetscapeLine
{
    NetscapeKind kind = NetscapeKind::Other;
    // Where the text after the tag's name begins: its attributes, or the text of
    // a description. The markup before it is ASCII, so this is the same position
    // in the bytes and in the decoded line.
    qsizetype rest = 0;
};

// The kind of a trimmed line, any case: "<H3" (folder) or "<A " (bookmark), each
// after an optional "<DT>"; "</DL>" (end of list), "<DD>" (description) and "<H1"
// (heading).
NetscapeLine ClassifyLine(QByteArrayView line);

struct NetscapeElement
{
    QString title;    // entities decoded
    QString address;  // the value of HREF, entities decoded
    bool hasAddress = false; // the start tag has an HREF attribute
};

// The element of a folder, bookmark or heading line. Its start tag ends at the
// first ">" outside quoted attribute values; the title runs from there to the
// closing tag (closing: "</H3>", "</A>" or "</H1>", any case) or the line's end.
// When a quote never closes, the first ">" ends the tag (and a HREF value so cut
// short is empty).
NetscapeElement ReadElement(QStringView line, const NetscapeLine &at, QStringView closing);

// Cuts comments ("<!--" to "-->", across lines too) out of successive lines.
class TCommentFilter
{
public:
    // The line without its comments; valid until the next call.
    QByteArrayView Filter(QByteArrayView line);

private:
    bool m_inComment = false;
    QByteArray m_kept;
};
