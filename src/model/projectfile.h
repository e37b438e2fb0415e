// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Keys of the scrambled form. Files written with other keys cannot be read.
inline constexpr std::string_view ProjectKey1 = "k7m2p9x";
inline constexpr std::string_view ProjectKey2 = "Q4V8Z1R6T";

// XOR with the key, character by character, leaving every character that is
// or would become a control character (< 32) as it is; the key position
// advances on every character. Applying it twice with the same key restores
// the text.
std::string ScrambleText(std::string_view text, std::string_view key);

// True when the path ends in ".VMPRO2" (any letter case): such files are
// scrambled, every other file is plain text.
bool IsScrambledProjectPath(const std::string &path);

// The plain line format: per profile SER_START, SER_TITEL=Name;Title,
// SER_MOD=, SER_COLOR=, SER_ACTIVE=, DATA_XY=/KOOR_STATUS= pairs, SER_END;
// every line ended by CR LF. Control characters of names and titles are
// written as blanks; throws UserError msgCannotWriteValue for a coordinate
// the 11-character cut would change before its decimal point.
std::string ProjectPlainText(const TProf_Projekt &project);

// Parses plain project text into new profiles. Throws UserError
// ("'%s' ist kein gültiger Integerwert" for SER_COLOR=,
// "'%s' ist kein gültiger Gleitkommawert" for DATA_XY=, msgCoordinateTooLarge
// for a coordinate beyond ±kMaxCoordinate) on the first bad line.
std::vector<TProfile> ParseProjectText(std::string_view plainText);

// Appends the profiles of the file to project.Profiles. Plain or scrambled by
// the ending (IsScrambledProjectPath). All or nothing: on a failure the
// project is unchanged and UserError is thrown (the messages above, or
// ReadFileBytes' messages). Touches nothing but Profiles. A file without any
// profile adds nothing and is no failure here; the commands decide.
void ReadProjectFile(TProf_Projekt &project, const std::string &path);

// Writes every profile, scrambled when the path ends in ".VMPRO2" and plain
// otherwise, so that the reader gets back what was written. Clears
// project.Modified on success; on failure throws UserError "Datei %s kann
// nicht erstellt werden" (or the message of ProjectPlainText), keeps the
// previous file and leaves Modified as it was.
void WriteProjectFile(TProf_Projekt &project, const std::string &path);

} // namespace velmora
