#pragma once
// The stand-alone HTML page of the whole catalogue or of one folder with all its
// sub-folders: a table with the page's header and welcome message, then one table
// of links per folder, in pre-order, its rows in the two bookmark-area colours by
// turns. Every text is escaped, the page is UTF-8 and says so, and an address that
// would run script is shown as text, not as a link.

#include "catalogue/Catalog.h"
#include "exchange/HtmlColor.h"

#include <QString>

class THtmlBuffer;

// The page's texts and colours (TColor values, see HtmlColor.h).
struct THtmlPageSettings
{
    QString TitleText;
    QString WelcomeHeader;
    QString WelcomeMessage;
    int TextColor = 0;
    int BackgroundColor = 0;
    int HeaderAreaColor = 0;
    int WelcomeAreaColor = 0;
    // A folder's first bookmark row, its third, ... and its second, fourth, ...
    int BookmarkArea1Color = 0;
    int BookmarkArea2Color = 0;
    // Gives the desktop's current system colours; none: Windows' own values.
    TSystemColorResolver ResolveSystemColor;
};

// The colours of the folder tables, as ColorToHtml gives them.
struct TFolderTableColors
{
    QString Header;
    QString BookmarkArea1;
    QString BookmarkArea2;
};

// Writes the page of folder, or of the whole catalogue when folder is none, to
// the file, atomically; raises "Unable to write to %s: %s" when it cannot.
void GeneratePage(const TCatalog &catalog, const TFolder *folder,
                  const THtmlPageSettings &page, const QString &fileName);

// Appends the tables of folder and of every folder below it, or of every folder
// of the catalogue when folder is none.
void WriteFolderTables(const TCatalog &catalog, const TFolder *folder,
                       const TFolderTableColors &colors, THtmlBuffer &out);
