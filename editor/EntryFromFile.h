#pragma once
// What a file or folder handed to the editors (dropped or chosen) gives an entry: its Button and
// Label from its name, and its File/Folder as the menu needs it, relative to the program's folder.
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

// The last part of a path ("C:\docs\Price list.pdf" -> "Price list.pdf"); "/" counts as "\".
std::string FileNameOf(const std::string& path);

// A name without its extension ("Price list.pdf" -> "Price list"); a name whose only dot is its
// first character (".profile") has no extension.
std::string WithoutExtension(const std::string& name);

// The Button for an entry named after `name` (a file's name without its extension, a folder's
// name), made a name that a button picture (content\<Button>.jpg) and a menu line can carry.
// Every character a file name or the menu line cannot hold (\ / : * ? " < > |, the comma,
// control characters) becomes a blank; runs of blanks become one, and blanks and dots at either
// end go. A device name of Windows (CON, PRN, AUX, NUL, COM1-9, LPT1-9, in any case, also before
// a dot: "con.backup") gets an "_" after it. It is cut to 60 UTF-16 units at a whole character,
// so that "content\<Button>.jpg" keeps within the 64 characters of a disc's names. A name with
// nothing left becomes "New Button".
std::string ButtonFromName(const std::string& name);

// `button` made unique among the Buttons whose NameKeys are `taken`, without regard to case as
// Windows compares file names: "Guide", then "Guide 2", "Guide 3", each kept within the 60 units.
// The Button returned is added to `taken`.
std::string UniqueButton(const std::string& button, std::unordered_set<std::string>& taken);

// True when content\<button>.jpg is a file name a medium can hold: ButtonFromName leaves it as it is.
bool IsPictureName(const std::string& button);

// The Label for an entry named after `name`: the name with each comma, and the blanks beside it,
// made one blank, as a comma would cut the menu line.
std::string LabelFromName(const std::string& name);

// A name's key as Windows compares file names: letters of one case (ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic), "/" as "\".
std::string NameKey(const std::string& name);

// `path` (absolute: "C:\...", "\\server\share\...") relative to the program's folder `appPath`, as
// the menu needs it: "docs\catalogue.pdf", "docs", "." for the program's folder itself. Compared
// as Windows compares paths: without regard to case, "/" as "\", "." and ".." folded, a drive's
// root ("E:\") as the program's folder. nullopt for a path outside the program's folder (another
// folder, another drive or share) or one that is not absolute.
std::optional<std::string> RelativeToProgram(const std::string& appPath, const std::string& path);

// True for a file name ending in ".url" (any case): an Internet shortcut.
bool IsInternetShortcut(const std::string& name);

// The web address of an Internet shortcut, from its lines: URL= in [InternetShortcut] (names in
// any case, blanks around the value dropped), each comma written %2C so that the menu line keeps
// it. nullopt when there is none, or when it is no web address the menu can hand on to readers
// (a path, or a file:, javascript:, vbscript: or data: address).
std::optional<std::string> InternetShortcutTarget(const std::vector<std::string>& lines);
