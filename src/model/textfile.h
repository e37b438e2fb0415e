// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Largest file any reader takes: far beyond every real profile or project,
// small enough that reading it cannot exhaust the memory.
inline constexpr size_t kMaxInputFileBytes = size_t(8) << 20;

// Whole file as bytes. Throws UserError "Datei %s kann nicht geöffnet werden"
// (the path inserted) when the file is missing, unreadable or not a regular
// file (a folder, a device, a FIFO: never waited for), and msgTooLarge when
// it holds more than kMaxInputFileBytes.
std::string ReadFileBytes(const std::string &path);

// Calls fn(std::string_view line) for each line, split at CR LF, LF or CR.
// A break at the very end does not start another line; an empty text gives
// no lines. The views point into `text`.
template<typename Fn>
void ForEachLine(std::string_view text, Fn &&fn)
{
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            fn(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        fn(text.substr(start));
}

// The lines of ForEachLine as strings.
std::vector<std::string> SplitLines(std::string_view text);

// The same text with every line ended by CR LF (JoinLinesCrLf of SplitLines,
// without the list of lines).
std::string WithCrLfLineEnds(std::string_view text);

// ReadFileBytes + SplitLines.
std::vector<std::string> ReadFileLines(const std::string &path);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string> &lines);

// Writes through a temporary file in the same folder that is renamed over
// the target, so a failed or interrupted save leaves the previous file
// intact. A symbolic link is followed and its target replaced; an existing
// file keeps its permissions. Throws UserError "Datei %s kann nicht erstellt
// werden" (the path inserted) on any failure, the temporary file removed:
// among them a dangling link, a target that exists but is no regular file
// (device, FIFO, folder) and a write cut short by a file-size limit.
void WriteFileAtomic(const std::string &path, std::string_view bytes);

// The text with every control character (bytes below 32 and 127) turned
// into a blank: names and titles go into line-based files.
std::string WithoutControlCharacters(std::string_view text);

// Upper case for the ASCII letters a-z only; every other byte stays.
std::string UpperAscii(std::string_view text);

// Whether `text` ends with `ending`, ASCII letters compared without case.
bool EndsWithNoCase(std::string_view text, std::string_view ending);

// The file-name part of a path (after the last '/' or '\').
std::string FileNamePart(const std::string &path);

// The folder part with a trailing separator ("" when the path has none).
std::string FolderPartWithSeparator(const std::string &path);

} // namespace velmora
