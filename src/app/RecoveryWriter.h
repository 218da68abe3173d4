#pragma once

#include "app/RecoveryFolder.h"
#include "document/SpriteWad.h"
#include "io/Status.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

// Keeps a recovery copy of a document with unsaved edits: the first one soon after the first
// unsaved edit, then at most one per interval and only after an edit since the last one. The
// window thread only takes a snapshot of the document (its textures share their pixels); a
// worker of its own packs and writes it, so no edit, undo or save ever waits for it. When the
// document holds no unsaved edits any more (saved, closed, another file opened), or the
// writer goes away with a clean exit, the copy is removed.
class RecoveryWriter : public QObject {
public:
    // What the writer needs of the document, asked on the window thread.
    struct Source {
        std::function<bool()> modified;
        std::function<std::uint64_t()> revision;
        std::function<SpriteWad()> snapshot;
        // The file the document belongs to, or an empty text.
        std::function<QString()> originalPath;
    };

    // The least time between two copies: 30 s, or VORNIX_RECOVERY_INTERVAL_MS milliseconds.
    static int IntervalMs();

    // `failed` hears the first write that fails, and no other until one has succeeded.
    RecoveryWriter(QString folder, Source source, std::function<void(const QString&)> failed,
                   QObject* parent = nullptr);
    // Stops a write under way and removes the copy.
    ~RecoveryWriter() override;

    // After every change to the document.
    void DocumentChanged();
    // Makes a copy left by another instance this one's: the next copy replaces it, and it
    // goes as this instance's own would.
    void Adopt(OrphanCopy copy);
    // The copy on disk that is this instance's, or an empty text.
    QString CopyPath() const;

private:
    void WriteNow();
    void Finished(const Status& outcome);
    void RemoveCopy();

    QString m_folder;
    Source m_source;
    std::function<void(const QString&)> m_failed;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_timer;
    // Since the last copy began; invalid while there is none.
    QElapsedTimer m_sinceCopy;
    std::uint64_t m_copiedRevision = 0;
    bool m_haveCopy = false;
    bool m_failureShown = false;
    std::atomic<int> m_running{1};
    std::thread m_worker;
};
