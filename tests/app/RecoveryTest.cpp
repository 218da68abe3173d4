// Recovery copies through the real window: when they are written and removed, the question at
// start with its three answers, and edits that survive the process being killed.
#include "WindowTest.h"
#include "app/RecoveryFolder.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"
#include "packing/RecoveryCopy.h"

#include <QProcess>

#include <algorithm>

using namespace apptest;
namespace fs = std::filesystem;

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// The names of the files in the recovery folder, sorted; read while another process may
// change it.
std::vector<std::string> RecoveryFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& file : fs::directory_iterator(RecoveryFolder().toStdString(), error)) {
        names.push_back(file.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Whether the process has a file in `folder` open other than a lock: a write under way.
bool WritesInto(qint64 pid, const fs::path& folder) {
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(fd.path(), linkError);
        if (!linkError && target.parent_path() == folder && target.extension() != ".lock") {
            return true;
        }
    }
    return false;
}

void ExpectSameContent(const SpriteWad& actual, const SpriteWad& expected) {
    EXPECT_EQ(actual.m_sequences, expected.m_sequences);
    EXPECT_TRUE(actual.m_textures == expected.m_textures);
}

SpriteWad ReadWad(const QString& path) {
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwdFile(path.toStdString(), wad).ok()) << path.toStdString();
    return wad;
}

// A set whose last object has no textures, which a recovery copy keeps.
SpriteWad SetWithEmptyObject(int textures, std::uint32_t seed) {
    SpriteWad set = fixtures::GeneratedSet(textures, 32, seed);
    set.AddObject(600);
    return set;
}

class Recovery : public WindowTest {
protected:
    Recovery() {
        qputenv("VORNIX_RECOVERY_INTERVAL_MS", "200");
        fs::remove_all(RecoveryFolder().toStdString());
    }
    ~Recovery() override {
        qunsetenv("VORNIX_RECOVERY_INTERVAL_MS");
        fs::remove_all(RecoveryFolder().toStdString());
    }
    bool CopyShows(const SpriteWad& expected) {
        return WaitUntil([&] {
            const QString copy = dlg.RecoveryCopyPath();
            SpriteWad read;
            return !copy.isEmpty() && swd::ReadSwdFile(copy.toStdString(), read).ok() &&
                   read.m_sequences == expected.m_sequences &&
                   read.m_textures == expected.m_textures;
        });
    }
    bool CopyGone() {
        return WaitUntil(
            [&] { return dlg.RecoveryCopyPath().isEmpty() && RecoveryFiles().empty(); });
    }
};

TEST_F(Recovery, CopyFollowsUnsavedEditsAndGoesWithThem) {
    const SpriteWad set = SetWithEmptyObject(40, 3);
    OpenSet(set);
    QElapsedTimer clock;
    // Nothing unsaved: no copy.
    EXPECT_FALSE(WaitUntil([&] { return !RecoveryFiles().empty(); }, 700));

    Select(objects, 2);
    Select(sprites, 1);
    clock.start();
    Press("Delete Texture");
    SpriteWad edited = dlg.Wad();
    ASSERT_TRUE(CopyShows(edited));
    EXPECT_LT(clock.elapsed(), 2000);
    const Result<RecoveryNote> note =
        ReadRecoveryNote(RecoveryNotePath(dlg.RecoveryCopyPath().toStdString()));
    ASSERT_TRUE(note.ok());
    EXPECT_EQ(note->originalPath, (dir / "target.swd").string());

    // Each further edit is copied; undoing back to the file removes the copy.
    Press("Delete Texture");
    ASSERT_TRUE(CopyShows(dlg.Wad()));
    dlg.Undo();
    ASSERT_TRUE(CopyShows(edited));
    dlg.Undo();
    EXPECT_TRUE(CopyGone());

    // A save removes it.
    dlg.Redo();
    ASSERT_TRUE(CopyShows(edited));
    // The empty object is refused by a save: it goes first.
    Select(objects, 3);
    Press("Delete Object");
    WhenModal<QFileDialog>([this](QFileDialog* fd) {
        AnswerMessage(nullptr, QMessageBox::Yes);
        fd->selectFile(path->text());
        static_cast<QDialog*>(fd)->accept();
    });
    Press("Save As SWD");
    WaitForJobs();
    EXPECT_TRUE(CopyGone());

    // So does Discard when the document is closed.
    Select(objects, 0);
    Select(sprites, 0);
    Press("Delete Texture");
    ASSERT_TRUE(WaitUntil([&] { return !dlg.RecoveryCopyPath().isEmpty(); }));
    AnswerMessage(nullptr, QMessageBox::Discard);
    Press("Close SWD");
    EXPECT_TRUE(CopyGone());

    // And a clean exit.
    {
        CMainDlg other;
        ASSERT_TRUE(other.OpenSwdFile(Path("target.swd")));
        other.OnDeleteTexture();
        ASSERT_TRUE(WaitUntil([&] { return !other.RecoveryCopyPath().isEmpty(); }));
    }
    EXPECT_TRUE(RecoveryFiles().empty());
}

TEST_F(Recovery, FailedWriteIsShownOnceAndEditingGoesOn) {
    OpenSet(fixtures::GeneratedSet(10, 16, 4));
    // A file where the folder would be: no copy can be written.
    fs::create_directories(fs::path(RecoveryFolder().toStdString()).parent_path());
    fixtures::WriteFileBytes(RecoveryFolder().toStdString(), {1});
    int shown = 0;
    QObject::connect(info, &QPlainTextEdit::textChanged, [&] {
        shown += info->toPlainText().startsWith("The recovery copy of the unsaved edits could "
                                                "not be written: ");
    });
    Press("Delete Texture");
    ASSERT_TRUE(WaitUntil([&] { return shown == 1; }));
    for (int i = 0; i < 3; ++i) {
        Press("Delete Texture");
        WaitUntil([] { return false; }, 300);
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dlg.Wad().TextureCount(), 6u);
    fs::remove(RecoveryFolder().toStdString());
}

// A copy left by an instance that no longer runs, as such an instance leaves it: no lock.
QString LeaveCopy(const SpriteWad& set, const QString& id, const std::string& original,
                  std::int64_t takenAt) {
    const QString folder = RecoveryFolder();
    fs::create_directories(folder.toStdString());
    SpriteWad wad = set;
    EXPECT_TRUE(
        WriteRecoveryCopy(wad, CopyPath(folder, id).toStdString(), {original, takenAt}).ok());
    return CopyPath(folder, id);
}

TEST_F(Recovery, QuestionAtStartRecoversDiscardsOrKeepsTheNewestCopy) {
    const SpriteWad newest = SetWithEmptyObject(20, 5);
    const SpriteWad older = fixtures::GeneratedSet(7, 16, 6);
    const std::int64_t takenAt = QDateTime(QDate(2026, 3, 4), QTime(5, 6)).toSecsSinceEpoch();
    const struct {
        const char* answer;
        bool damaged;
    } rows[] = {{"Recover", false}, {"Discard", false}, {"Later", false}, {"Recover", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.answer) + (row.damaged ? " damaged" : ""));
        if (dlg.IsModified()) {
            AnswerMessage(nullptr, QMessageBox::Discard);
        }
        dlg.OnCloseSwd();
        fs::remove_all(RecoveryFolder().toStdString());
        const std::string original = (dir / "levels" / "coast.swd").string();
        const QString copy = LeaveCopy(newest, "1-1-0", original, takenAt);
        LeaveCopy(older, "2-1-0", "", takenAt - 60);
        // Newer still, but its instance runs: not asked about.
        LeaveCopy(older, "3-1-0", "", takenAt + 60);
        QLockFile running(LockPath(RecoveryFolder(), "3-1-0"));
        ASSERT_TRUE(running.tryLock(0));
        // What a write killed half-way leaves, removed at start.
        fixtures::WriteFileBytes(RecoveryFolder().toStdString() + "/.1-1-0.swd.tmp-9-0", {1});
        std::string readerMessage;
        if (row.damaged) {
            std::vector<std::uint8_t> bytes = fixtures::ReadFileBytes(copy.toStdString());
            bytes.resize(bytes.size() / 2);
            fixtures::WriteFileBytes(copy.toStdString(), bytes);
            SpriteWad unused;
            readerMessage = swd::ReadSwdFile(copy.toStdString(), unused).message();
        }
        const auto kept = RecoveryFiles();

        QString question, refusal;
        WhenModal<QMessageBox>([&, row](QMessageBox* box) {
            question = box->text();
            if (row.damaged) {
                AnswerMessage(&refusal);
            }
            FindButton(box, row.answer)->click();
        });
        dlg.OfferRecovery();
        EXPECT_EQ(question, "Vornix closed while coast.swd had unsaved edits (" +
                                QLocale().toString(QDateTime::fromSecsSinceEpoch(takenAt),
                                                   QLocale::ShortFormat) +
                                "). Recover them?");
        const bool recovered = row.answer == std::string("Recover") && !row.damaged;
        EXPECT_EQ(dlg.IsModified(), recovered);
        EXPECT_EQ(path->text(), recovered ? QString::fromStdString(original) : QString());
        ExpectSameContent(dlg.Wad(), recovered ? newest : SpriteWad{});
        EXPECT_EQ(refusal.toStdString(), readerMessage);
        std::vector<std::string> left = kept;
        std::erase(left, ".1-1-0.swd.tmp-9-0");
        if (row.answer == std::string("Discard")) {
            std::erase(left, "1-1-0.swd");
            std::erase(left, "1-1-0.swd.note");
        }
        if (recovered) {
            left.insert(left.begin(), "1-1-0.lock");
        }
        // The running instance's lock stays; the recovered copy is this window's now.
        EXPECT_EQ(RecoveryFiles(), left);
        EXPECT_EQ(dlg.RecoveryCopyPath(), recovered ? copy : QString());
    }
}

// The window's process killed with SIGKILL once its copy exists, and once while it writes a
// newer one: a window started afterwards recovers the edits, the file they belong to is
// untouched, and no temporary file is left behind.
TEST_F(Recovery, EditsSurviveTheProcessBeingKilled) {
    const fs::path original = dir / "original.swd";
    {
        SpriteWad set = fixtures::GeneratedSet(6000, 64, 8);
        ASSERT_TRUE(PackTextures(set).ok());
        ASSERT_TRUE(swd::WriteSwdFile(original.string(), set).ok());
    }
    const std::vector<std::uint8_t> originalBytes = fixtures::ReadFileBytes(original);
    const QString state = Path("state");
    const fs::path folder = RecoveryFolder().toStdString();
    for (const bool duringWrite : {false, true}) {
        SCOPED_TRACE(duringWrite ? "killed while writing" : "killed after the copy");
        QProcess victim;
        // Killed after the copy: no newer copy is begun before the kill.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VORNIX_RECOVERY_INTERVAL_MS", duringWrite ? "200" : "29000");
        victim.setProcessEnvironment(environment);
        victim.start(VORNIX_RECOVERY_VICTIM,
                     {"edit", QString::fromStdString(original.string()), state});
        ASSERT_TRUE(victim.waitForStarted());
        // The first copy, of state 1: the victim then makes state 2.
        ASSERT_TRUE(WaitUntil([&] { return victim.canReadLine(); }, 30000));
        ASSERT_EQ(victim.readLine(), "state 2\n");
        // Killed with a file of the copy open, the note's or the copy's own.
        if (duringWrite) {
            ASSERT_TRUE(WaitUntil([&] { return WritesInto(victim.processId(), folder); }, 30000));
        }
        victim.kill();
        ASSERT_TRUE(victim.waitForFinished());
        for (const std::string& name : RecoveryFiles()) {
            EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
        }

        QProcess restart;
        const QString out = Path("recovered.swd");
        restart.start(VORNIX_RECOVERY_VICTIM, {"recover", out});
        ASSERT_TRUE(restart.waitForFinished(30000));
        ASSERT_EQ(restart.exitCode(), 0);
        EXPECT_EQ(restart.readAllStandardOutput(),
                  QString::fromStdString(original.string()).toUtf8() + "\n1\n");
        // Killed before the newer copy was complete: the copy of state 1 is what is left.
        ExpectSameContent(ReadWad(out), ReadWad(state + "1.swd"));
        EXPECT_TRUE(fixtures::ReadFileBytes(original) == originalBytes);
        // The window that recovered the edits ended cleanly: its copy went with it.
        EXPECT_EQ(RecoveryFiles(), std::vector<std::string>{});
    }
}

} // namespace
