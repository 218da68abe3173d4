#pragma once

#include "document/SpriteWad.h"
#include "document/WadChange.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

// Undo and redo: the last kLimit edits of one document, each a named step that holds the
// change that turns it back, and whatever the caller wants shown again with it (`View`: the
// window keeps its selection there). The history also knows whether the document holds edits
// no save has written: a save marks the step it wrote, and undoing or redoing away from that
// step makes the document modified again. Dropped steps keep it modified for good.
//
//   history.Record("Delete Texture", std::move(done->change), view);
//   if (auto shown = history.Undo(wad, CurrentView())) { Show(*shown); }
template <class View> class EditHistory {
public:
    static constexpr std::size_t kLimit = 100;

    // Adds a step for an edit the document has just gone through. An edit that changed
    // nothing is no step. Clears the steps that could be redone.
    void Record(std::string action, WadChange change, const SpriteWad& wad, View before) {
        if (change.IsEmpty(wad)) {
            return;
        }
        m_undo.push_back({std::move(action), std::move(change), std::move(before), {}, m_next++});
        if (m_undo.size() > kLimit) {
            m_oldest = m_undo.front().serial;
            m_undo.pop_front();
        }
        m_redo.clear();
    }
    // Adds a further change to the last step, as one step with it: a job that edits in
    // batches. The change must follow on from the step's own (WadChange::Append).
    void Extend(WadChange change, const SpriteWad& wad) {
        if (!m_undo.empty() && m_undo.back().serial == m_growing) {
            m_undo.back().change.Append(std::move(change));
            return;
        }
        Record(m_growingAction, std::move(change), wad, m_growingView);
        m_growing = m_undo.empty() ? 0 : m_undo.back().serial;
    }
    // The steps that Extend grows from now on are named `action`; the first one shows `view`
    // when it is undone. Ends when another step is recorded or EndGrowing is called.
    void BeginGrowing(std::string action, View view) {
        m_growingAction = std::move(action);
        m_growingView = std::move(view);
        m_growing = 0;
    }
    void EndGrowing() { m_growing = 0; }

    // Turns the document back by one step and hands back what to show: the view from before
    // the step. `now` is remembered to be shown when the step is redone.
    std::optional<View> Undo(SpriteWad& wad, View now) {
        if (m_undo.empty()) {
            return std::nullopt;
        }
        Step step = std::move(m_undo.back());
        m_undo.pop_back();
        step.change.Swap(wad);
        step.after = std::move(now);
        m_redo.push_back(std::move(step));
        m_growing = 0;
        return m_redo.back().before;
    }
    std::optional<View> Redo(SpriteWad& wad) {
        if (m_redo.empty()) {
            return std::nullopt;
        }
        Step step = std::move(m_redo.back());
        m_redo.pop_back();
        step.change.Swap(wad);
        m_undo.push_back(std::move(step));
        return m_undo.back().after;
    }

    // The names of the steps Undo and Redo would take, empty when there is none.
    std::string UndoAction() const { return m_undo.empty() ? std::string() : m_undo.back().action; }
    std::string RedoAction() const { return m_redo.empty() ? std::string() : m_redo.back().action; }
    std::size_t UndoCount() const { return m_undo.size(); }
    // Numbers for the states the document passes through, never reused while the history
    // lives: the one it stands in, and the one that undoing every step kept gives back.
    std::uint64_t State() const { return Current(); }
    std::uint64_t OldestState() const { return m_oldest; }

    // The document as it stands is what a save wrote (or what was opened).
    void MarkSaved() { m_saved = Current(); }
    bool IsModified() const { return Current() != m_saved; }
    // A fresh document: no steps; `modified` for one that holds edits no file has, such as a
    // wad recovered from a damaged file.
    void Clear(bool modified = false) {
        m_undo.clear();
        m_redo.clear();
        m_growing = 0;
        m_oldest = m_next++;
        m_saved = modified ? 0 : m_oldest;
    }

private:
    struct Step {
        std::string action;
        WadChange change;
        View before;
        View after;
        // Tells apart the document states, so that a save can be matched to one.
        std::uint64_t serial = 0;
    };
    std::uint64_t Current() const { return m_undo.empty() ? m_oldest : m_undo.back().serial; }

    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    // State 0 is the one before the first Clear; no later state has that number, so a
    // m_saved of 0 then says that no state of this document was saved.
    std::uint64_t m_next = 1;
    std::uint64_t m_saved = 0;
    // The document after the last step dropped from the history: undoing everything left still
    // leaves its edits in.
    std::uint64_t m_oldest = 0;
    std::uint64_t m_growing = 0;
    std::string m_growingAction;
    View m_growingView{};
};
