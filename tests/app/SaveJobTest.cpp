// Save As SWD through the real window: the job on its worker thread, cancel, result and errors.
#include "WindowTest.h"

#include <sys/stat.h>

using namespace apptest;

namespace {

class SaveJob : public WindowTest {
protected:
    SaveJob() {
        dlg.show();
        QObject::connect(info, &QPlainTextEdit::textChanged, [this] {
            if (infoTexts.isEmpty() || infoTexts.back() != info->toPlainText()) {
                infoTexts.append(info->toPlainText());
            }
        });
    }

    // Saves over the proposed file, the one opened; `then` runs once replacing it is confirmed.
    void Save(std::function<void()> then = {}) {
        WhenModal<QFileDialog>([this, then](QFileDialog* fd) {
            EXPECT_EQ(fd->selectedFiles(), QStringList{path->text()});
            EXPECT_EQ(fd->defaultSuffix(), "swd");
            AnswerMessage(nullptr, QMessageBox::Yes, then);
            static_cast<QDialog*>(fd)->accept();
        });
        Press("Save As SWD");
    }
    // The Info pane's timer, once run out, puts the description back.
    void ExpectDescriptionBack(const QString& description) {
        auto* timer = dlg.findChild<QTimer*>("timer1001");
        ASSERT_TRUE(timer != nullptr && timer->isActive() && timer->interval() == 5000);
        timer->start(0);
        EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 5000));
        EXPECT_EQ(info->toPlainText(), description);
    }

    // Whether the preview area shows a whole page being packed.
    bool PackingPageShown() const {
        const auto* page = dlg.findChild<QLabel*>("packingPage");
        return page != nullptr && page->isVisible() && page->pixmap().size() == QSize(256, 256);
    }

    QStringList infoTexts;
};

TEST_F(SaveJob, SavedFileReloadsAndProgressCountsUp) {
    const SpriteWad set = fixtures::GeneratedSet(90, 64, 11);
    OpenSet(set);
    Select(objects, 1);
    Select(sprites, 5);
    ASSERT_EQ(info->toPlainText(), "05 - Splash Ring - Part 2");
    infoTexts.clear();
    Save();
    WaitForJobs();
    ASSERT_GE(infoTexts.size(), 2);
    EXPECT_EQ(infoTexts.back(), "Done! Saved...");
    EXPECT_TRUE(
        infoTexts[infoTexts.size() - 2].startsWith("Processed 89 of 90 Textures (98%) - ETR: "));
    EXPECT_EQ(PreviewImage(), ReferenceImage(set.m_textures[4 + 5]));
    ExpectDescriptionBack("05 - Splash Ring - Part 2");
    Press("Delete Texture");
    Save();
    WaitForJobs();
    dlg.Undo();
    dlg.Redo();
    EXPECT_EQ(info->toPlainText(), "04 - Splash Ring - Part 1") << "no save result shown again";
}

TEST_F(SaveJob, EmptyObjectIsNamedAndNothingIsSaved) {
    Open(fixtures::SmallWad().Build());
    const Shown before = Take();
    QString shown;
    WhenModal<QMessageBox>([&shown](QMessageBox* box) {
        shown = box->windowTitle() + ": " + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    Press("Save As SWD");
    EXPECT_EQ(shown, "Error! empty object...: CUSTOM_SPRITES contains no textures, please add 1 "
                     "or more,\nor delete the 494: CUSTOM_SPRITES object first before saving...");
    EXPECT_EQ(Take(), before);
}

// Escape during the job asks; No lets the save finish, Yes leaves the file as it was and the
// description comes back as after a finished save.
TEST_F(SaveJob, EscapeDuringTheJobAsks) {
    constexpr int kCount = 30000; // packing outlasts the question by far
    OpenSet(fixtures::GeneratedSet(kCount, 64, 5));
    const QString description = info->toPlainText();
    const std::filesystem::path target = dir / "target.swd";
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(answer == QMessageBox::Yes ? "Yes" : "No");
        const std::vector<std::uint8_t> old = fixtures::ReadFileBytes(target);
        infoTexts.clear();
        Save();
        WhenShown<QWidget>(
            [this]() -> QWidget* { return dlg.m_bSaving.load() != 0 ? &dlg : nullptr; },
            [&](QWidget*) {
                WhenModal<QMessageBox>([&](QMessageBox* box) {
                    EXPECT_TRUE(QTest::qWaitFor([this] { return PackingPageShown(); }, 5000));
                    EXPECT_EQ(box->text(), "Do you wish to cancel saving?");
                    EXPECT_EQ(dlg.cursor().shape(), Qt::WaitCursor);
                    box->button(answer)->click();
                });
                QTest::keyClick(&dlg, Qt::Key_Escape);
            },
            "running save job");
        WaitForJobs();
        EXPECT_FALSE(dlg.findChild<QLabel*>("packingPage")->isVisible());
        EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(infoTexts.back(),
                  answer == QMessageBox::No ? "Done! Saved..." : "Canceled! Saved...");
        if (answer == QMessageBox::Yes) {
            EXPECT_EQ(fixtures::ReadFileBytes(target), old);
        }
        EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"target.swd"});
    }
    ExpectDescriptionBack(description);
}

// A file that cannot be written is named; nothing is left behind and the window is usable.
// The Info pane says the save failed, until the timer puts the description back.
TEST_F(SaveJob, AnUnwritableTargetIsReportedByName) {
    OpenSet(fixtures::GeneratedSet(40, 32, 9));
    Select(sprites, 1);
    const QString description = info->toPlainText();
    const std::filesystem::path target = dir / "target.swd";
    std::filesystem::remove(target);
    ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0); // the writer refuses anything but a file
    QString error;
    Save([&error] { AnswerMessage(&error); });
    WaitForJobs();
    EXPECT_TRUE(error.contains(QString::fromStdString(target.string()))) << error.toStdString();
    EXPECT_EQ(info->toPlainText(), "Failed! Not saved...");
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"target.swd"});
    ExpectDescriptionBack(description);
}

} // namespace
