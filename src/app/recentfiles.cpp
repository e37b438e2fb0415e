// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recentfiles.h"

#include "model/errors.h"
#include "model/textfile.h"

#include <algorithm>

namespace velmora {

void RecentFiles::Attach(const std::string &path)
{
    m_storage = path;
    m_paths.clear();
    if (path.empty())
        return;
    try {
        for (const std::string &line : ReadFileLines(path)) {
            if (!line.empty() && std::find(m_paths.begin(), m_paths.end(), line) == m_paths.end()
                && int(m_paths.size()) < kMaxEntries)
                m_paths.push_back(line);
        }
    } catch (const UserError &) {
        // no list yet, or one that cannot be read: start empty
    }
}

void RecentFiles::Add(const std::string &path)
{
    if (path.empty())
        return;
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (int(m_paths.size()) > kMaxEntries)
        m_paths.resize(kMaxEntries);
    store();
}

void RecentFiles::Remove(const std::string &path)
{
    const auto end = std::remove(m_paths.begin(), m_paths.end(), path);
    if (end == m_paths.end())
        return;
    m_paths.erase(end, m_paths.end());
    store();
}

void RecentFiles::store() const
{
    if (m_storage.empty())
        return;
    std::string text;
    for (const std::string &p : m_paths)
        text += p + "\n";
    try {
        WriteFileAtomic(m_storage, text);
    } catch (const UserError &) {
        // a list that cannot be written is no reason to interrupt the work
    }
}

} // namespace velmora
