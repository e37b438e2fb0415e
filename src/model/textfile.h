// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Whole file as bytes. Throws UserError "Datei %s kann nicht geöffnet werden"
// (the path inserted) when the file is missing, a folder or unreadable.
std::string ReadFileBytes(const std::string &path);

// Splits at CR LF, LF or CR. A break at the very end does not start another
// line; an empty text gives no lines.
std::vector<std::string> SplitLines(std::string_view text);

// ReadFileBytes + SplitLines.
std::vector<std::string> ReadFileLines(const std::string &path);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string> &lines);

// Writes through a temporary file in the same folder that is renamed over
// the target, so a failed or interrupted save leaves the previous file
// intact. A symbolic link is followed and its target replaced; an existing
// file keeps its permissions. Throws UserError "Datei %s kann nicht erstellt
// werden" (the path inserted) on any failure; the temporary file is removed.
void WriteFileAtomic(const std::string &path, std::string_view bytes);

// Upper case for the ASCII letters a-z only; every other byte stays.
std::string UpperAscii(std::string_view text);

// Whether `text` ends with `ending`, ASCII letters compared without case.
bool EndsWithNoCase(std::string_view text, std::string_view ending);

// The file-name part of a path (after the last '/' or '\').
std::string FileNamePart(const std::string &path);

// The folder part with a trailing separator ("" when the path has none).
std::string FolderPartWithSeparator(const std::string &path);

} // namespace velmora
