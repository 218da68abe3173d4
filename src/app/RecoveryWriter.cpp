#include "app/RecoveryWriter.h"

#include "packing/RecoveryCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMetaObject>

#include <algorithm>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

constexpr int kIntervalMs = 30000;
// The first copy waits this long after the first unsaved edit, so that a burst of edits
// (a drop of many files) makes one copy; it stays well within two seconds.
constexpr int kFirstDelayMs = 500;
#ifdef Q_OS_LINUX
constexpr int kWorkerNice = 10;
#endif

} // namespace

int RecoveryWriter::IntervalMs() {
    bool ok = false;
    const int interval = qEnvironmentVariableIntValue("VORNIX_RECOVERY_INTERVAL_MS", &ok);
    return ok && interval > 0 && interval < kIntervalMs ? interval : kIntervalMs;
}

RecoveryWriter::RecoveryWriter(QString folder, Source source,
                               std::function<void(const QString&)> failed, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_source(std::move(source)),
      m_failed(std::move(failed)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryWriter::WriteNow);
}

RecoveryWriter::~RecoveryWriter() {
    if (m_worker.joinable()) {
        m_running.store(0);
        m_worker.join();
    }
    RemoveCopy();
}

QString RecoveryWriter::CopyPath() const {
    return m_haveCopy ? ::CopyPath(m_folder, m_id) : QString();
}

void RecoveryWriter::DocumentChanged() {
    // A write under way decides afresh when it ends.
    if (m_worker.joinable()) {
        return;
    }
    if (!m_source.modified()) {
        m_timer.stop();
        RemoveCopy();
        return;
    }
    if (m_timer.isActive() || (m_haveCopy && m_source.revision() == m_copiedRevision)) {
        return;
    }
    const int interval = IntervalMs();
    const qint64 wait = m_sinceCopy.isValid() ? interval - m_sinceCopy.elapsed()
                                              : std::min(kFirstDelayMs, interval);
    m_timer.start(static_cast<int>(std::max<qint64>(wait, 0)));
}

void RecoveryWriter::Adopt(OrphanCopy copy) {
    RemoveCopy();
    m_timer.stop();
    m_id = std::move(copy.id);
    m_lock = std::move(copy.lock);
    // The copy holds the document as it stands.
    m_haveCopy = true;
    m_copiedRevision = m_source.revision();
}

void RecoveryWriter::WriteNow() {
    if (m_worker.joinable() || !m_source.modified()) {
        return;
    }
    if (!m_lock) {
        m_id = NewCopyId();
        QDir().mkpath(m_folder);
        auto lock = std::make_unique<QLockFile>(LockPath(m_folder, m_id));
        if (!lock->tryLock(0)) {
            Finished(Status::Failed(Fault::WriteFailed,
                                    "Cannot write the file \"" +
                                        QFile::encodeName(LockPath(m_folder, m_id)).toStdString() +
                                        "\""));
            return;
        }
        m_lock = std::move(lock);
    }
    m_copiedRevision = m_source.revision();
    m_sinceCopy.start();
    const RecoveryNote note{QFile::encodeName(m_source.originalPath()).toStdString(),
                            QDateTime::currentSecsSinceEpoch()};
    m_worker =
        std::thread([this, wad = m_source.snapshot(), note,
                     path = QFile::encodeName(::CopyPath(m_folder, m_id)).toStdString()]() mutable {
            PackCallbacks callbacks;
            callbacks.running = &m_running;
            Status outcome = WriteRecoveryCopy(wad, path, note, callbacks);
            // The snapshot goes back to the window thread to be let go there, where the
            // document's textures are written: a texture it shares is written only once the
            // window has seen every read of it end.
            QMetaObject::invokeMethod(
                this,
                [this, outcome = std::move(outcome), wad = std::move(wad)] { Finished(outcome); },
                Qt::QueuedConnection);
        });
}

void RecoveryWriter::Finished(const Status& outcome) {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (outcome.ok()) {
        m_haveCopy = true;
        m_failureShown = false;
    } else if (!m_failureShown) {
        m_failureShown = true;
        m_failed(QString::fromStdString(outcome.message()));
    }
    DocumentChanged();
}

void RecoveryWriter::RemoveCopy() {
    if (m_lock) {
        RemoveCopyFiles(m_folder, m_id, std::move(m_lock));
    }
    m_haveCopy = false;
    m_sinceCopy.invalidate();
}
