// Recovery copies through the real window: when they come and go, the question at start, and
// edits that survive the process being killed.
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

// True as soon as `done` holds: a passing state, such as a write under way, is not asked again.
bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Read while another process may change the folder.
std::vector<std::string> RecoveryFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& file : fs::directory_iterator(RecoveryFolder().toStdString(), error)) {
        names.push_back(file.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool SameContent(const QString& path, const SpriteWad& expected) {
    SpriteWad read;
    return swd::ReadSwdFile(path.toStdString(), read).ok() &&
           read.m_sequences == expected.m_sequences && read.m_textures == expected.m_textures;
}

class Recovery : public WindowTest {
protected:
    Recovery() { qputenv("VORNIX_RECOVERY_INTERVAL_MS", "200"); }
    ~Recovery() override {
        qunsetenv("VORNIX_RECOVERY_INTERVAL_MS");
        fs::remove_all(RecoveryFolder().toStdString());
    }
    bool CopyHolds(const SpriteWad& wad) {
        return WaitUntil([&] { return SameContent(dlg.RecoveryCopyPath(), wad); });
    }
    bool CopyGone() {
        return WaitUntil([] { return RecoveryFiles().empty(); });
    }
};

TEST_F(Recovery, CopyFollowsUnsavedEditsAndGoesWithThem) {
    SpriteWad set = fixtures::GeneratedSet(40, 32, 3);
    set.AddObject(600); // an empty object, which the copy keeps
    OpenSet(set);
    EXPECT_FALSE(WaitUntil([] { return !RecoveryFiles().empty(); }, 700));
    QElapsedTimer clock;
    clock.start();
    Press("Delete Texture");
    ASSERT_TRUE(CopyHolds(dlg.Wad()));
    EXPECT_LT(clock.elapsed(), 2000);
    const Result<RecoveryNote> note =
        ReadRecoveryNote(RecoveryNotePath(dlg.RecoveryCopyPath().toStdString()));
    EXPECT_EQ(note->originalPath, (dir / "target.swd").string());
    Press("Delete Texture");
    ASSERT_TRUE(CopyHolds(dlg.Wad()));
    // A save removes it (the empty object, which a save refuses, goes first).
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
    // So does Discard as the wad is closed.
    Select(objects, 0);
    Select(sprites, 0);
    Press("Delete Texture");
    ASSERT_TRUE(WaitUntil([&] { return !dlg.RecoveryCopyPath().isEmpty(); }));
    AnswerMessage(nullptr, QMessageBox::Discard);
    Press("Close SWD");
    EXPECT_TRUE(CopyGone());
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
    for (int i = 0; i < 4; ++i) {
        Press("Delete Texture");
        WaitUntil([] { return false; }, 300);
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dlg.Wad().TextureCount(), 6u);
}

TEST_F(Recovery, QuestionAtStartRecoversDiscardsOrKeepsTheNewestCopy) {
    SpriteWad newest = fixtures::GeneratedSet(20, 16, 5);
    newest.AddObject(600);
    const std::int64_t time = QDateTime(QDate(2026, 3, 4), QTime(5, 6)).toSecsSinceEpoch();
    const std::string original = (dir / "coast.swd").string();
    const QString folder = RecoveryFolder(), copy = CopyPath(folder, "1-1-0");
    for (const char* answer : {"Recover", "Discard", "Later", "Recover damaged"}) {
        SCOPED_TRACE(answer);
        fs::remove_all(folder.toStdString());
        fs::create_directories(folder.toStdString());
        // Copies of instances that no longer run leave no lock; the newest is asked about.
        for (const auto& [id, taken] :
             {std::pair{"1-1-0", time}, {"2-1-0", time - 60}, {"3-1-0", time + 60}}) {
            SpriteWad wad = newest;
            ASSERT_TRUE(
                WriteRecoveryCopy(wad, CopyPath(folder, id).toStdString(), {original, taken}).ok());
        }
        QLockFile running(LockPath(folder, "3-1-0")); // newer, but its instance runs
        ASSERT_TRUE(running.tryLock(0));
        // What a write killed half-way leaves, removed at start.
        fixtures::WriteFileBytes(folder.toStdString() + "/.1-1-0.swd.tmp-9-0", {1});
        const bool damaged = answer == std::string("Recover damaged");
        std::string readerMessage;
        if (damaged) {
            fs::resize_file(copy.toStdString(), fs::file_size(copy.toStdString()) / 2);
            SpriteWad unused;
            readerMessage = swd::ReadSwdFile(copy.toStdString(), unused).message();
        }
        std::vector<std::string> left = RecoveryFiles();
        std::erase(left, ".1-1-0.swd.tmp-9-0");
        QString question, refusal;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            if (damaged) {
                AnswerMessage(&refusal);
            }
            FindButton(box, QString(answer).section(' ', 0, 0))->click();
        });
        dlg.OfferRecovery();
        EXPECT_EQ(question, "Vornix closed while coast.swd had unsaved edits (" +
                                QLocale().toString(QDateTime::fromSecsSinceEpoch(time),
                                                   QLocale::ShortFormat) +
                                "). Recover them?");
        const bool recovered = answer == std::string("Recover");
        EXPECT_EQ(dlg.IsModified(), recovered);
        EXPECT_EQ(path->text(), recovered ? QString::fromStdString(original) : QString());
        EXPECT_EQ(dlg.Wad().m_textures.size(), recovered ? newest.m_textures.size() : 0u);
        EXPECT_EQ(refusal.toStdString(), readerMessage);
        if (answer == std::string("Discard")) {
            std::erase(left, "1-1-0.swd");
            std::erase(left, "1-1-0.swd.note");
        }
        if (recovered) { // the copy is this window's now
            left.insert(left.begin(), "1-1-0.lock");
        }
        EXPECT_EQ(RecoveryFiles(), left);
        EXPECT_EQ(dlg.RecoveryCopyPath(), recovered ? copy : QString());
        if (recovered) {
            AnswerMessage(nullptr, QMessageBox::Discard);
            dlg.OnCloseSwd();
        }
    }
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

// The window's process killed with SIGKILL once its copy exists, and once while it writes a
// newer one: a window started afterwards recovers the edits, the file they belong to is
// untouched, and no temporary file is left behind.
TEST_F(Recovery, EditsSurviveTheProcessBeingKilled) {
    const fs::path original = dir / "original.swd";
    SpriteWad set = fixtures::GeneratedSet(6000, 64, 8);
    ASSERT_TRUE(PackTextures(set).ok());
    ASSERT_TRUE(swd::WriteSwdFile(original.string(), set).ok());
    const std::vector<std::uint8_t> originalBytes = fixtures::ReadFileBytes(original);
    const QString state = Path("state");
    for (const bool duringWrite : {false, true}) {
        SCOPED_TRACE(duringWrite ? "killed while writing" : "killed after the copy");
        QProcess victim;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Killed after the copy: no newer copy is begun before the kill.
        environment.insert("VORNIX_RECOVERY_INTERVAL_MS", duringWrite ? "200" : "29000");
        victim.setProcessEnvironment(environment);
        victim.start(VORNIX_RECOVERY_VICTIM, {"edit", Path("original.swd"), state});
        // The copy of state 1 exists: the victim has made state 2.
        ASSERT_TRUE(WaitUntil([&] { return victim.canReadLine(); }, 30000));
        ASSERT_EQ(victim.readLine(), "state 2\n");
        if (duringWrite) {
            ASSERT_TRUE(WaitUntil(
                [&] { return WritesInto(victim.processId(), RecoveryFolder().toStdString()); },
                30000));
        }
        victim.kill();
        ASSERT_TRUE(victim.waitForFinished());
        for (const std::string& name : RecoveryFiles()) {
            EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
        }
        QProcess restart;
        restart.start(VORNIX_RECOVERY_VICTIM, {"recover", Path("recovered.swd")});
        ASSERT_TRUE(restart.waitForFinished(30000));
        EXPECT_EQ(restart.readAllStandardOutput(), Path("original.swd").toUtf8() + "\n1\n");
        SpriteWad state1;
        ASSERT_TRUE(swd::ReadSwdFile((state + "1.swd").toStdString(), state1).ok());
        EXPECT_TRUE(SameContent(Path("recovered.swd"), state1));
        EXPECT_TRUE(fixtures::ReadFileBytes(original) == originalBytes);
        // The window that recovered them ended cleanly: its copy went with it.
        EXPECT_EQ(RecoveryFiles(), std::vector<std::string>{});
    }
}

} // namespace
