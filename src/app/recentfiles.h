// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// "Zuletzt geöffnet": the last files opened or saved, newest first, kept in
// a file of their own (one UTF-8 path a line) beside the settings.
class RecentFiles
{
public:
    static constexpr int kMaxEntries = 10;
    static constexpr const char *kFileName = "Velmora_Zuletzt.txt";

    // Reads the list from `path` (missing or unreadable: empty) and writes
    // every later change there. An empty path keeps the list in memory.
    void Attach(const std::string &path);

    const std::vector<std::string> &Paths() const { return m_paths; }
    // Puts `path` first; a path already listed moves there, the eleventh goes.
    void Add(const std::string &path);
    void Remove(const std::string &path);

private:
    void store() const;

    std::string m_storage;
    std::vector<std::string> m_paths;
};

} // namespace velmora
