#include "app/RecoveryFolder.h"

#include "packing/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>

namespace {

const QString kCopySuffix = QStringLiteral(".swd");
const QString kLockSuffix = QStringLiteral(".lock");
// The atomic writer's temporary files are ".<target name>.tmp-<pid>-<n>".
const QString kTemporaryMark = QStringLiteral(".tmp-");

// The id a file of the folder belongs to, or an empty text for a file that is none of ours.
QString IdOf(const QString& name) {
    QString base = name;
    if (base.startsWith(QLatin1Char('.')) && base.contains(kTemporaryMark)) {
        base = base.mid(1, base.indexOf(kTemporaryMark) - 1);
    }
    if (base.endsWith(kLockSuffix)) {
        return base.chopped(kLockSuffix.size());
    }
    const qsizetype copy = base.indexOf(kCopySuffix);
    return copy > 0 ? base.left(copy) : QString();
}

} // namespace

QString RecoveryFolder() {
#ifdef Q_OS_WIN
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is not to be trusted: it would follow the working folder.
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        state = QDir::homePath() + QStringLiteral("/.local/state");
    }
#endif
    return state + QStringLiteral("/vornix/recovery");
}

QString NewCopyId() {
    static std::atomic<int> counter{0};
    return QStringLiteral("%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(counter.fetch_add(1));
}

QString CopyPath(const QString& folder, const QString& id) {
    return folder + QLatin1Char('/') + id + kCopySuffix;
}

QString LockPath(const QString& folder, const QString& id) {
    return folder + QLatin1Char('/') + id + kLockSuffix;
}

std::vector<OrphanCopy> ClaimOrphanCopies(const QString& folder) {
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    QSet<QString> ids;
    for (const QString& name : names) {
        if (const QString id = IdOf(name); !id.isEmpty()) {
            ids.insert(id);
        }
    }
    std::vector<OrphanCopy> orphans;
    for (const QString& id : ids) {
        auto lock = std::make_unique<QLockFile>(LockPath(folder, id));
        // Only an owner that no longer runs makes a lock stale, however old it is.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            continue;
        }
        const QString copy = CopyPath(folder, id);
        for (const QString& name : names) {
            if (name.startsWith(QLatin1Char('.')) && IdOf(name) == id) {
                QFile::remove(dir.filePath(name));
            }
        }
        const std::string notePath = RecoveryNotePath(QFile::encodeName(copy).toStdString());
        if (!QFileInfo::exists(copy)) {
            QFile::remove(QFile::decodeName(notePath.c_str()));
            lock->unlock();
            continue;
        }
        OrphanCopy orphan{id, copy, {}, QFileInfo(copy).lastModified(), std::move(lock)};
        // A copy whose note is damaged is still offered, under its file's own time.
        if (const Result<RecoveryNote> note = ReadRecoveryNote(notePath)) {
            orphan.originalPath = QFile::decodeName(note->originalPath.c_str());
            orphan.takenAt = QDateTime::fromSecsSinceEpoch(note->takenAt);
        }
        orphans.push_back(std::move(orphan));
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const OrphanCopy& a, const OrphanCopy& b) { return a.takenAt > b.takenAt; });
    return orphans;
}

void RemoveCopyFiles(const QString& folder, const QString& id, std::unique_ptr<QLockFile> lock) {
    const QString copy = CopyPath(folder, id);
    QFile::remove(copy);
    QFile::remove(
        QFile::decodeName(RecoveryNotePath(QFile::encodeName(copy).toStdString()).c_str()));
    // The lock goes last: until then no other instance takes the copy for an orphan.
    if (lock) {
        lock->unlock();
    }
}
