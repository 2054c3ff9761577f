#pragma once
// The user's well-known folders, as this platform has them: the counterparts of the
// Program Files, Favorites and application-data folders the settings default to.
// All are derived from $HOME (tests point it at a temporary folder); none ends
// with a separator.

#include <QString>

// "/opt": where programs are installed.
QString ProgramFilesFolder();
// $HOME/Favorites: the folder of Internet Explorer style favourites.
QString FavoritesFolder();
// $HOME/.mozilla/firefox: the folder that holds Firefox's "profiles.ini".
QString FirefoxFolder();
// $HOME/.opera/opera6.adr: Opera's hotlist file.
QString OperaHotlistFile();
// $XDG_STATE_HOME/varnokel (by default ~/.local/state/varnokel): where the program
// keeps copies of the user's files that it could not leave in its own folder (the old
// file during an in-place save, a damaged catalogue). Not created here.
QString StateFolder();
