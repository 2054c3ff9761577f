#pragma once
// Element names of the catalogue file, matched exactly (letter case counts).

namespace CatalogFileNames {
inline constexpr char kDocument[] = "varnokel_file";
inline constexpr char kFolder[] = "folder";
inline constexpr char kBookmark[] = "bookmark";
inline constexpr char kTitle[] = "title";
inline constexpr char kDescription[] = "description";
inline constexpr char kSelected[] = "selected";
inline constexpr char kExpanded[] = "expanded";
inline constexpr char kAddress[] = "address";
inline constexpr char kAddDate[] = "adddate";
inline constexpr char kLastVisit[] = "lastvisit";
} // namespace CatalogFileNames
