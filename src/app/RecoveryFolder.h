#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

// The folder of recovery copies and the copies in it. Each copy <id>.swd has its note
// <id>.swd.note and a lock <id>.lock that the instance writing it holds for as long as the
// copy is its own: a copy whose lock can be taken belongs to an instance that no longer runs.

// $XDG_STATE_HOME/vornix/recovery (~/.local/state/vornix/recovery when unset); on Windows the
// local application-data folder's vornix/recovery.
QString RecoveryFolder();

// A file name for the copies of a new instance, unlike any other instance's.
QString NewCopyId();
QString CopyPath(const QString& folder, const QString& id);
QString LockPath(const QString& folder, const QString& id);

// A copy left behind by an instance that no longer runs, locked by this process.
struct OrphanCopy {
    QString id;
    QString copyPath;
    // The file the edits belong to; empty for a wad that had none.
    QString originalPath;
    QDateTime takenAt;
    std::unique_ptr<QLockFile> lock;
};

// Takes the lock of every copy whose instance no longer runs, removes what such an instance
// left beside its copies (temporary files of a write it did not finish, a note without its
// copy) and returns its copies, newest first. Letting go of one (its lock) hands it back to
// the next start.
std::vector<OrphanCopy> ClaimOrphanCopies(const QString& folder);

// Removes a copy of this process, its note and its lock.
void RemoveCopyFiles(const QString& folder, const QString& id, std::unique_ptr<QLockFile> lock);
