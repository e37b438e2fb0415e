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

} // namespace velmora
