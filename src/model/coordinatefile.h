// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <string>
#include <string_view>

namespace velmora {

// Reads a profile coordinate file (".DAT"): a title line, then one line per
// point with x, a space or tab and y ("." or "," as decimal separator). Blank
// lines are skipped. The file layout with the two point counts on the second
// line is recognised where both blocks run from the nose to the trailing edge
// and turned into the program's point order.
// Fills Name (file name up to its first ".DAT", any case), Title and Points
// of `profile`; leaves every other field alone. On failure throws UserError
// and leaves `profile` untouched:
//   "Datei %s kann nicht geöffnet werden"         missing or unreadable file
//   "Listenindex überschreitet das Maximum (0)"    empty file
//   "'%s' ist kein gültiger Gleitkommawert"        a point line that is not two numbers
//   msgCoordinateTooLarge                          a coordinate beyond ±kMaxCoordinate
//   ReadFileBytes' messages                        not a regular file, too large
void LoadCoordinateFile(TProfile &profile, const std::string &path);

// Parses the text of a coordinate file (the part of LoadCoordinateFile after
// reading); `name` becomes the profile's Name.
void ParseCoordinateText(TProfile &profile, std::string_view text, const std::string &name);

// The file text: title (control characters as blanks), then "x y" per point
// with 6 decimals and ".", each cut to 11 characters, every line ended by CR
// LF. Throws UserError msgCannotWriteValue for a value the cut would change
// before its decimal point (beyond 11 characters, or not finite).
std::string CoordinateFileText(const TProfile &profile);

// One coordinate as both file formats write it, checked as above; `point`
// counts from 0.
std::string CoordinateText(const TProfile &profile, size_t point, double value);

// Writes CoordinateFileText atomically; throws UserError "Datei %s kann nicht
// erstellt werden" and leaves any previous file intact on failure.
void WriteCoordinateFile(const TProfile &profile, const std::string &path);

// Name rule: "NACA2412.dat" -> "NACA2412", "my.data.dat" -> "my", "e387.txt" -> "";
// control characters of the file name become blanks.
std::string ProfileNameFromPath(const std::string &path);

} // namespace velmora
