#pragma once
// The settings of the program: TPreferencesRec holds every setting as a public
// field named after its key in "preferences.ini"; TPreferences owns the one record,
// sets the defaults and loads it from and saves it to the file. The record is never
// replaced: Rec() returns the same object for the whole life of TPreferences.

#include <QString>

#include <array>
#include <memory>

// Every field starts at 0 / false / empty; TPreferences applies the defaults noted
// beside each field. Colours are 0x00BBGGRR (red in the low byte).
class TPreferencesRec
{
public:
    // [MainForm]
    int Top = 0;                      // 100
    int Left = 0;                     // 100
    int Width = 0;                    // 679
    int Height = 0;                   // 500
    bool Maximized = false;           // false
    int TreeWidth = 0;                // 200
    int DescrPaneHeight = 0;          // 100
    int TitleColumnWidth = 0;         // 150
    int AddressColumnWidth = 0;       // 150
    int LastVisitColumnWidth = 0;     // 80
    int AddDateColumnWidth = 0;       // 80
    bool ShowToolbar = false;         // true
    bool ShowStatusbar = false;       // true
    quint8 SortType = 0;              // 0: 0 stored order, 1 title, 2 address,
                                      //    3 last visit, 4 add date; always 0..4
    bool ReversedSort = false;        // false
    // [PreferencesForm]
    int GroupIndex = 0;               // 0
    int ButtonIndex = 0;              // 0
    // [General]
    bool LoadOnWindowsStartup = false;   // false
    bool ShowIconInTray = false;         // true
    bool HideToTrayOnMinimizing = false; // true
    bool ConfirmDeletingItems = false;   // true
    bool AutoSaveEvery = false;          // false
    int AutoSaveInterval = 0;            // 15 (minutes)
    // [Start/Exit]
    bool StartMinimized = false;      // false
    bool AotoSaveOnExit = false;      // false (the key is spelled so)
    // [Language]
    QString LanguageFile;             // empty: the built-in English texts
    // [HTMLGeneratorForm]
    QString TitleText;                // "Title"
    QString WelcomeHeader;            // "Header"
    QString WelcomeMessage;           // "Welcome Message"
    int TextColor = 0;                // 0 (black)
    int BackgroundColor = 0;          // 0xC0DCC0
    int HeaderAreaColor = 0;          // 0xE1FFFF
    int WelcomeAreaColor = 0;         // 0xF0FBFF
    int BookmarkArea1Color = 0;       // 0xF0CAA6
    int BookmarkArea2Color = 0;       // 0xF9E8D9
    bool GenerateFromSelFolder = false; // false
    QString HTMLFile;                 // "c:\bookmarks"
    // [FindForm] keys "LastString0".."LastString9"; entry 0 the most recent.
    // Not touched by SetDefaults.
    std::array<QString, 10> LastString;
    // [Other]
    QString Varnokel1Bookmarks;       // ProgramFilesFolder() + "/Varnokel/RefLib"
    QString IEFavoritesLocation;      // FavoritesFolder()
    QString FirefoxBookmarksLocation; // FirefoxFolder() + "/" + Profile0's Path +
                                      // "/bookmarks.html"; untouched without
                                      // "profiles.ini"
    QString OperaHotlistLocation;     // OperaHotlistFile()

    bool operator==(const TPreferencesRec &) const = default;
};

class TPreferences
{
public:
    // Creates the record and applies SetDefaults.
    TPreferences();
    ~TPreferences();
    TPreferences(const TPreferences &) = delete;
    TPreferences &operator=(const TPreferences &) = delete;

    TPreferencesRec &Rec() { return *m_rec; }
    const TPreferencesRec &Rec() const { return *m_rec; }

    // Every field with a default gets it; the find history is left alone and
    // FirefoxBookmarksLocation is set only when Firefox's "profiles.ini" exists.
    void SetDefaults();
    // Keys absent from the file (or the whole file) leave their fields as they are.
    void LoadFromFile(const QString &fileName);
    // Writes every setting, keeping the file's other keys, sections and lines;
    // the file is replaced atomically, so a failure leaves the old one intact
    // and raises "Unable to write to %s".
    void SaveToFile(const QString &fileName) const;

private:
    std::unique_ptr<TPreferencesRec> m_rec;
};
