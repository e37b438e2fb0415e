// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/profile.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

// The undo/redo history of a project's content: profiles (names, titles,
// colours, points, "# " marks), their order, the clipboard profile and the
// project file name. View state is not part of it: visibility, marked and
// active points, zoom and the selection stay as they are when a step is
// undone, for every profile that still exists.
//
// Each state shares the copies of the profiles it did not change with the
// state before, so a step costs one copy of each changed profile. The
// history keeps at most kMaxSteps steps and drops the oldest ones once the
// stored profile copies exceed kMaxBytes (64 MiB: 200 steps that each
// change a profile of 10 000 points still fit; a 200-point profile takes
// about 5 KB a step).
class UndoHistory
{
public:
    static constexpr int kMaxSteps = 1000;
    static constexpr std::size_t kMaxBytes = std::size_t(64) << 20;
    // Wheel notches further apart than this start a new step.
    static constexpr std::int64_t kBurstPauseMs = 1000;

    explicit UndoHistory(std::size_t maxBytes = kMaxBytes, int maxSteps = kMaxSteps);

    // Starts over with `project` as the only state, counted as saved.
    void Reset(TProf_Projekt &project);

    // Gives every profile without one (or with a copied one) its own Serial.
    void Number(TProf_Projekt &project);

    // Makes the project's content a new step named `label` when it differs
    // from the current state; drops the redo branch. A nonzero `burstKey`
    // equal to the previous step's, within kBurstPauseMs of it and with no
    // other step between, extends that step instead. A project left with
    // `Modified` cleared (loaded, all removed) counts as saved in that state.
    // Returns true when a step was added or extended.
    bool Record(TProf_Projekt &project, const std::string &label, std::uint64_t burstKey = 0);
    // The next wheel notch starts a step of its own.
    void EndBurst() { m_burstOpen = false; }

    bool CanUndo() const { return m_pos > 0; }
    bool CanRedo() const { return m_pos + 1 < m_states.size(); }
    // The names of the steps that Undo and Redo would take back or repeat.
    std::string UndoLabel() const;
    std::string RedoLabel() const;
    int UndoCount() const { return int(m_pos); }
    int RedoCount() const { return int(m_states.size() - 1 - m_pos); }

    // Puts the state before (after) the current one into `project`: its
    // profiles in their order, clipboard and file name. A profile that still
    // exists keeps its visibility, and its marks when its point count is
    // unchanged. `Modified` is cleared exactly when the state equals its file
    // as last saved or loaded. Results (PolarRows) are left empty. False when there
    // is no such state; the project is then untouched.
    bool Undo(TProf_Projekt &project);
    bool Redo(TProf_Projekt &project);

    // The current state was written to `fileName`: it counts as unmodified,
    // every other state as modified, and every state takes the name (saving
    // is not undone).
    void MarkSaved(const std::string &fileName);

    // Bytes held by the stored profile copies and state lists.
    std::size_t StoredBytes() const;

    // Called whenever what CanUndo, CanRedo or the labels report may have changed.
    std::function<void()> OnChanged;
    // Milliseconds of a steady clock; tests replace it.
    std::function<std::int64_t()> Clock;

    // Nesting of UndoRecorder: only the outermost records.
    int Depth = 0;

private:
    using Snapshot = std::shared_ptr<const TProfile>;
    struct State
    {
        std::vector<Snapshot> profiles;
        Snapshot clipboard;
        std::string fileName;
        std::string filePath;
        std::string label; // of the step that led to this state
        std::uint64_t burstKey = 0;
        std::int64_t timeMs = 0;
        bool saved = false; // equal to the file `fileName` as last loaded or written
    };

    State capture(const TProf_Projekt &project, const State *previous);
    Snapshot snapshot(const TProfile &profile);
    void restore(TProf_Projekt &project, const State &state) const;
    void trim();
    void changed();

    std::deque<State> m_states;
    std::size_t m_pos = 0;
    std::uint64_t m_nextSerial = 1;
    bool m_burstOpen = false;
    std::size_t m_maxBytes;
    int m_maxSteps;
    // shared with the snapshots' deleters, which may outlive the history
    std::shared_ptr<std::size_t> m_bytes = std::make_shared<std::size_t>(0);
};

// Records one step for the command it is opened in, when it goes out of
// scope. Nested recorders add nothing: the outermost command is the step.
class UndoRecorder
{
public:
    UndoRecorder(UndoHistory &history, TProf_Projekt &project, std::string label);
    ~UndoRecorder();
    UndoRecorder(const UndoRecorder &) = delete;
    UndoRecorder &operator=(const UndoRecorder &) = delete;
    // Lets this step extend the previous one of the same key (wheel bursts).
    void Burst(std::uint64_t key) { m_burstKey = key; }

private:
    UndoHistory &m_history;
    TProf_Projekt &m_project;
    std::string m_label;
    std::uint64_t m_burstKey = 0;
};

} // namespace velmora
