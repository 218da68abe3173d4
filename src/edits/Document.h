#pragma once

#include "edits/EditHistory.h"
#include "edits/Edits.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

// One open sprite wad with its history, and the one gate every change passes: while a job
// (a save packing it, a split feeding it) works on the document, no edit, undo or redo runs.
// Edits go through Apply, which records each as one step, so none can be made without its
// undo. `View` is what the caller shows again after an undo or redo (the window's selection).
//
//   EditResult done = document.Apply("Delete Texture", edits::DeleteTexture, object, line);
//   if (!done) { Show(done.message()); }
template <class View> class Document {
public:
    // `currentView` tells what is shown now, to be shown again when a step is undone.
    explicit Document(std::function<View()> currentView) : m_currentView(std::move(currentView)) {}

    const SpriteWad& Wad() const { return m_wad; }
    // Counts the changes to the wad: any two moments with the same revision saw the same wad.
    std::uint64_t Revision() const { return m_revision; }
    // Called after every change to the wad and after a save was marked.
    void SetChangeHandler(std::function<void()> changed) { m_changed = std::move(changed); }
    // Whether the document may change now: false while a job works on it.
    bool MayChange() const { return m_jobs == 0; }

    // Runs edit(wad, args...) and records what it did as one step named `action`. Refused,
    // changing nothing, while a job works on the document.
    template <class EditFn, class... Args>
    edits::EditResult Apply(std::string action, EditFn&& edit, Args&&... args) {
        if (!MayChange()) {
            return Status::Failed(Fault::Refused, "A job is working on the sprite wad.");
        }
        View before = m_currentView();
        edits::EditResult done = std::forward<EditFn>(edit)(m_wad, std::forward<Args>(args)...);
        if (done) {
            m_history.Record(std::move(action), std::move(done->change), m_wad, std::move(before));
            Changed();
        }
        return done;
    }

    // A job's own edit: allowed while its job runs, and added to the job's one step.
    template <class EditFn, class... Args>
    edits::EditResult ApplyForJob(EditFn&& edit, Args&&... args) {
        edits::EditResult done = std::forward<EditFn>(edit)(m_wad, std::forward<Args>(args)...);
        if (done) {
            m_history.Extend(std::move(done->change), m_wad);
            Changed();
        }
        return done;
    }

    std::optional<View> Undo() {
        return Changed(MayChange() ? m_history.Undo(m_wad, m_currentView()) : std::nullopt);
    }
    std::optional<View> Redo() {
        return Changed(MayChange() ? m_history.Redo(m_wad) : std::nullopt);
    }
    std::string UndoAction() const { return m_history.UndoAction(); }
    std::string RedoAction() const { return m_history.RedoAction(); }
    bool IsModified() const { return m_history.IsModified(); }
    void MarkSaved() {
        m_history.MarkSaved();
        if (m_changed) {
            m_changed();
        }
    }
    std::uint64_t State() const { return m_history.State(); }
    std::uint64_t OldestState() const { return m_history.OldestState(); }

    // Puts another wad in place (Open, Close) with a fresh history; `modified` for one that
    // holds what no file has yet.
    void Replace(SpriteWad wad, bool modified = false) {
        m_wad = std::move(wad);
        m_history.Clear(modified);
        Changed();
    }

    // A job starts working on the document; `action` names the step its own edits make.
    void BeginJob(std::string action = {}) {
        ++m_jobs;
        m_history.BeginGrowing(std::move(action), m_currentView());
    }
    void EndJob() {
        --m_jobs;
        m_history.EndGrowing();
    }
    // For the save job's worker alone, while its job runs: packing fills the wad's pages and
    // entries, which describe the textures and are no part of the history.
    SpriteWad& WadForJob() { return m_wad; }

private:
    void Changed() {
        ++m_revision;
        if (m_changed) {
            m_changed();
        }
    }
    std::optional<View> Changed(std::optional<View> shown) {
        if (shown) {
            Changed();
        }
        return shown;
    }

    SpriteWad m_wad;
    EditHistory<View> m_history;
    std::function<View()> m_currentView;
    int m_jobs = 0;
    std::uint64_t m_revision = 0;
    std::function<void()> m_changed;
};
