#pragma once
// What the document reader refuses beyond pugixml's own errors, so that a file
// that is not well-formed XML 1.0 fails to load before anything is read: bytes
// that are not UTF-8 of XML's characters, text or a second element outside the
// document element, a misplaced declaration or document type, an '&' that begins
// no reference, an undefined entity, a reference to a character XML forbids, "]]>"
// in text and '<' in an attribute value.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace pugi {
class xml_document;
}

// A fault, and where it begins in the text that was parsed.
struct CatalogFileFault
{
    QString reason;
    qsizetype offset = 0;
};

// The text before it is parsed (UTF-8, the file's byte-order mark dropped).
// encoding: the file's, for the reason.
std::optional<CatalogFileFault> CheckUtf8Text(QByteArrayView text, const QString &encoding);

// The document that pugixml parsed in place from text, with the options of
// kWellFormedParseOptions; lastByte: the text's last byte before the parse, which
// overwrites it. Resolves the references and line ends of its texts, as pugixml
// would have done, once they are found sound.
std::optional<CatalogFileFault> CheckDocument(pugi::xml_document &document,
                                              QByteArrayView text, char lastByte);

// The parse leaves references and line ends as written, so that the texts and
// their offsets are those of the file; it keeps text outside the document element
// (a fragment's), so that the check finds it.
extern const unsigned kWellFormedParseOptions;
