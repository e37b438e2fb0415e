// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/undohistory.h"

#include <chrono>
#include <unordered_map>
#include <unordered_set>

namespace velmora {

namespace {

// What a step changes; visibility, marks, range anchors, results and the
// characteristic values (filled by the information window) are not content.
bool sameContent(const TProfile &a, const TProfile &b)
{
    if (a.Name != b.Name || a.Title != b.Title || a.Color != b.Color || a.Modified != b.Modified
        || a.Points.size() != b.Points.size())
        return false;
    for (size_t i = 0; i < a.Points.size(); ++i) {
        const TKoordi &p = a.Points[i];
        const TKoordi &q = b.Points[i];
        if (p.X != q.X || p.Y != q.Y || p.IsNew != q.IsNew)
            return false;
    }
    return true;
}

std::unordered_map<uint64_t, const TProfile *> bySerial(const std::vector<TProfile> &profiles)
{
    std::unordered_map<uint64_t, const TProfile *> map;
    for (const TProfile &p : profiles)
        map.emplace(p.Serial, &p);
    return map;
}

} // namespace

UndoHistory::UndoHistory(std::size_t maxBytes, int maxSteps)
    : Clock([] {
        return std::int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count());
    })
    , m_maxBytes(maxBytes)
    , m_maxSteps(maxSteps)
{
}

void UndoHistory::Number(TProf_Projekt &project)
{
    std::unordered_set<uint64_t> seen;
    for (TProfile &p : project.Profiles) {
        if (p.Serial == 0 || !seen.insert(p.Serial).second) {
            p.Serial = m_nextSerial++;
            seen.insert(p.Serial);
        }
    }
    if (project.ClipboardProfile)
        project.ClipboardProfile->Serial = 0;
}

UndoHistory::Snapshot UndoHistory::snapshot(const TProfile &profile)
{
    auto *copy = new TProfile(profile);
    copy->PolarRows.clear();
    copy->PolarRows.shrink_to_fit();
    const std::size_t bytes =
        sizeof(TProfile) + copy->Points.capacity() * sizeof(TKoordi) + copy->Name.capacity() + copy->Title.capacity();
    std::shared_ptr<std::size_t> counter = m_bytes;
    *counter += bytes;
    return Snapshot(copy, [counter, bytes](const TProfile *p) {
        *counter -= bytes;
        delete p;
    });
}

UndoHistory::State UndoHistory::capture(const TProf_Projekt &project, const State *previous)
{
    std::unordered_map<uint64_t, Snapshot> earlier;
    if (previous) {
        for (const Snapshot &s : previous->profiles)
            earlier.emplace(s->Serial, s);
    }
    State state;
    state.profiles.reserve(project.Profiles.size());
    for (const TProfile &p : project.Profiles) {
        const auto it = earlier.find(p.Serial);
        state.profiles.push_back(it != earlier.end() && sameContent(*it->second, p) ? it->second : snapshot(p));
    }
    if (project.ClipboardProfile) {
        state.clipboard = previous && previous->clipboard && sameContent(*previous->clipboard, *project.ClipboardProfile)
            ? previous->clipboard
            : snapshot(*project.ClipboardProfile);
    }
    state.fileName = project.FileName;
    state.filePath = project.FilePath;
    return state;
}

void UndoHistory::Reset(TProf_Projekt &project)
{
    Number(project);
    m_states.clear();
    m_states.push_back(capture(project, nullptr));
    m_pos = 0;
    m_states.front().saved = true;
    m_burstOpen = false;
    changed();
}

bool UndoHistory::Record(TProf_Projekt &project, const std::string &label, std::uint64_t burstKey)
{
    if (m_states.empty())
        Reset(project);
    Number(project);
    const State &current = m_states[m_pos];
    bool same = current.profiles.size() == project.Profiles.size() && bool(current.clipboard) == bool(project.ClipboardProfile)
        && current.fileName == project.FileName && current.filePath == project.FilePath;
    for (size_t i = 0; same && i < project.Profiles.size(); ++i) {
        same = current.profiles[i]->Serial == project.Profiles[i].Serial
            && sameContent(*current.profiles[i], project.Profiles[i]);
    }
    if (same && project.ClipboardProfile)
        same = sameContent(*current.clipboard, *project.ClipboardProfile);
    if (same) {
        if (!project.Modified)
            m_states[m_pos].saved = true;
        return false;
    }

    const std::int64_t now = Clock();
    const bool extend = burstKey != 0 && m_burstOpen && m_pos > 0 && m_pos + 1 == m_states.size()
        && current.burstKey == burstKey && now - current.timeMs <= kBurstPauseMs;
    State next = capture(project, extend ? &m_states[m_pos - 1] : &current);
    next.label = extend ? current.label : label;
    next.burstKey = burstKey;
    next.timeMs = now;
    next.saved = !project.Modified;
    if (extend) {
        m_states[m_pos] = std::move(next);
    } else {
        m_states.erase(m_states.begin() + std::ptrdiff_t(m_pos) + 1, m_states.end());
        m_states.push_back(std::move(next));
        m_pos = m_states.size() - 1;
    }
    m_burstOpen = burstKey != 0;
    trim();
    changed();
    return true;
}

void UndoHistory::trim()
{
    while (m_pos > 0 && (int(m_states.size()) - 1 > m_maxSteps || StoredBytes() > m_maxBytes)) {
        m_states.pop_front();
        --m_pos;
    }
}

std::size_t UndoHistory::StoredBytes() const
{
    std::size_t lists = 0;
    for (const State &s : m_states)
        lists += sizeof(State) + s.profiles.capacity() * sizeof(Snapshot) + s.label.capacity() + s.fileName.capacity();
    return *m_bytes + lists;
}

std::string UndoHistory::UndoLabel() const
{
    return CanUndo() ? m_states[m_pos].label : std::string();
}

std::string UndoHistory::RedoLabel() const
{
    return CanRedo() ? m_states[m_pos + 1].label : std::string();
}

void UndoHistory::restore(TProf_Projekt &project, const State &state) const
{
    const auto live = bySerial(project.Profiles);
    std::vector<TProfile> profiles;
    profiles.reserve(state.profiles.size());
    for (const Snapshot &s : state.profiles) {
        TProfile p = *s;
        const auto it = live.find(p.Serial);
        if (it != live.end()) {
            const TProfile &now = *it->second;
            p.Visible = now.Visible;
            if (now.Points.size() == p.Points.size()) {
                for (size_t i = 0; i < p.Points.size(); ++i) {
                    p.Points[i].Marked = now.Points[i].Marked;
                    p.Points[i].Active = now.Points[i].Active;
                }
                p.MarkRangeStart = now.MarkRangeStart;
                p.MarkRangeEnd = now.MarkRangeEnd;
                p.UnmarkRangeStart = now.UnmarkRangeStart;
                p.UnmarkRangeEnd = now.UnmarkRangeEnd;
            } else {
                p.MarkRangeStart = p.MarkRangeEnd = p.UnmarkRangeStart = p.UnmarkRangeEnd = -1;
            }
        }
        profiles.push_back(std::move(p));
    }
    project.Profiles = std::move(profiles);
    if (state.clipboard)
        project.ClipboardProfile = *state.clipboard;
    else
        project.ClipboardProfile.reset();
    project.FileName = state.fileName;
    project.FilePath = state.filePath;
    project.Modified = !state.saved;
    project.ActiveIndex = -1;
}

bool UndoHistory::Undo(TProf_Projekt &project)
{
    if (!CanUndo())
        return false;
    --m_pos;
    m_burstOpen = false;
    restore(project, m_states[m_pos]);
    changed();
    return true;
}

bool UndoHistory::Redo(TProf_Projekt &project)
{
    if (!CanRedo())
        return false;
    ++m_pos;
    m_burstOpen = false;
    restore(project, m_states[m_pos]);
    changed();
    return true;
}

void UndoHistory::MarkSaved(const std::string &fileName)
{
    if (m_states.empty())
        return;
    for (State &s : m_states) {
        s.fileName = fileName;
        s.filePath = fileName;
        s.saved = false;
    }
    m_states[m_pos].saved = true;
    m_burstOpen = false;
    changed();
}

void UndoHistory::changed()
{
    if (OnChanged)
        OnChanged();
}

UndoRecorder::UndoRecorder(UndoHistory &history, TProf_Projekt &project, std::string label)
    : m_history(history)
    , m_project(project)
    , m_label(std::move(label))
{
    if (m_history.Depth++ == 0)
        m_history.Number(m_project);
}

UndoRecorder::~UndoRecorder()
{
    if (--m_history.Depth > 0)
        return;
    try {
        m_history.Record(m_project, m_label, m_burstKey);
    } catch (...) {
        // out of memory: the change stays, only its step is missing
    }
}

} // namespace velmora
