// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// The one exception type for everything a user can cause: unreadable or
// unwritable files and texts that are not numbers. what() is the German
// message in UTF-8, ready for a message box; the command that raised it ends
// there, and whatever it did before stays.
class UserError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Message builders, so every layer words the same failure the same way.
std::string msgCannotOpen(const std::string &fileName);     // "Datei %s kann nicht geöffnet werden"
std::string msgCannotCreate(const std::string &fileName);   // "Datei %s kann nicht erstellt werden"
std::string msgNotAFloat(const std::string &textUtf8);      // "'%s' ist kein gültiger Gleitkommawert"
std::string msgNotAnInteger(const std::string &textUtf8);   // "'%s' ist kein gültiger Integerwert"
std::string msgListIndex(int index);                        // "Listenindex überschreitet das Maximum (%d)"
std::string msgTooLarge(const std::string &fileName);       // "Datei %s ist zu groß (mehr als 8 MB)"
std::string msgNoProfile(const std::string &fileName);      // "Datei %s enthält kein Profil"
// A coordinate read from line `line` (counted from 1) lies beyond kMaxCoordinate.
std::string msgCoordinateTooLarge(int line, const std::string &textUtf8);
// Point `point` (counted from 1) of profile `nameUtf8` cannot be written in
// the 11 characters of the file formats without changing its value.
std::string msgCannotWriteValue(const std::string &nameUtf8, int point, const std::string &valueText);

// The largest magnitude a coordinate may have: the file formats write it
// whole in 11 characters, with decimals to spare, and the plot can scale it.
inline constexpr double kMaxCoordinate = 1e6;

// A path as it may appear in a message: control characters and bytes that
// are no valid UTF-8 shown as '?'.
std::string shownPath(const std::string &path);

} // namespace velmora
