// Save As SWD through the real window: the checks before the job, the file dialog, the job on
// its worker thread with its progress, cancel, result, file errors and the Info pane restore.
#include "ModalDriver.h"
#include "WindowTest.h"
#include "model/PackTextures.h"
#include "model/SwdFile.h"
#include "support/Fixtures.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using apptest::ReferenceImage;
using apptest::WhenModal;

namespace {

const QString kSwdFilter = "Tomb Raider Sprites Wad File (*.swd)";

class SaveJob : public apptest::WindowTest {
protected:
    SaveJob() {
        dlg.show();
        QObject::connect(info, &QPlainTextEdit::textChanged, [this]() {
            const QString text = info->toPlainText();
            if (infoTexts.isEmpty() || infoTexts.back() != text) {
                infoTexts.append(text);
            }
        });
    }

    QString Native(const std::filesystem::path& path) const {
        return QDir::toNativeSeparators(QString::fromStdString(path.string()));
    }

    // Writes the set as a sprite wad with the program's own packer and writer and opens it.
    void Open(const SpriteWad& set, const std::string& name = "source.swd") {
        SpriteWad packed = set;
        ASSERT_EQ(PackTextures(packed).status, PackStatus::Done);
        ASSERT_TRUE(swd::WriteSwdFile((dir / name).string(), packed).ok());
        ASSERT_TRUE(dlg.OpenSwdFile(Native(dir / name)));
    }

    // Clicks Save As SWD and picks `target` in the file dialog, or takes the proposed name when
    // that is the target; `inDialog` runs first, with the dialog on screen, and may schedule
    // what the accept brings up.
    void Save(const std::filesystem::path& target,
              std::function<void(QFileDialog*)> inDialog = nullptr) {
        WhenModal<QFileDialog>([this, target, inDialog](QFileDialog* fd) {
            proposed = fd->selectedFiles();
            EXPECT_EQ(fd->nameFilters(), QStringList{kSwdFilter});
            EXPECT_EQ(fd->defaultSuffix(), "swd");
            EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
            if (inDialog) {
                inDialog(fd);
            }
            if (proposed != QStringList{QString::fromStdString(target.string())}) {
                TypeFileName(fd, target);
            }
            static_cast<QDialog*>(fd)->accept();
        });
        QTest::mouseClick(Button("Save As SWD"), Qt::LeftButton);
    }

    // Puts a name in place of the proposed one, as after a user typed over it: the name field
    // takes the text and the proposed file is no longer selected in the listing. The listing
    // is read in the background and selects the proposed file once it is complete, so that is
    // awaited first.
    static void TypeFileName(QFileDialog* fd, const std::filesystem::path& path) {
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        auto* listing = fd->findChild<QAbstractItemView*>("listView");
        ASSERT_TRUE(name != nullptr && listing != nullptr);
        const auto shown = fd->directory().entryList({"*.swd"}, QDir::Files | QDir::AllDirs |
                                                                    QDir::NoDotAndDotDot);
        EXPECT_TRUE(QTest::qWaitFor(
            [&]() { return listing->model()->rowCount(listing->rootIndex()) == shown.size(); },
            5000));
        name->setText(QString::fromStdString(path.string()));
        listing->clearSelection();
        EXPECT_TRUE(fd->selectedFiles().value(0).startsWith(QString::fromStdString(path.string())));
    }

    bool JobEnded(int timeoutMs = 120000) {
        return QTest::qWaitFor(
            [this]() {
                return dlg.m_bSaving.load() == 0 && dlg.ButtonAt(CMainDlg::kSaveAsSwd)->isEnabled();
            },
            timeoutMs);
    }

    // The 19 buttons and both lists, in the order the jobs switch them.
    std::vector<bool> JobControlsEnabled() const {
        std::vector<bool> states;
        for (int b = 0; b < CMainDlg::kButtonCount; ++b) {
            states.push_back(dlg.ButtonAt(static_cast<CMainDlg::Button>(b))->isEnabled());
        }
        states.push_back(objects->isEnabled());
        states.push_back(sprites->isEnabled());
        return states;
    }

    void ExpectIdle() const {
        EXPECT_EQ(JobControlsEnabled(), std::vector<bool>(CMainDlg::kButtonCount + 2, true));
        EXPECT_EQ(dlg.m_bSaving.load(), 0);
        EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
    }

    QTimer* InfoTimer() const { return dlg.findChild<QTimer*>("timer1001"); }
    QLabel* PackingPage() const { return dlg.findChild<QLabel*>("packingPage"); }

    // Lets timer 1001 run out now instead of in 5 s.
    void RunOutInfoTimer() {
        QTimer* timer = InfoTimer();
        ASSERT_NE(timer, nullptr);
        timer->start(0);
        EXPECT_TRUE(QTest::qWaitFor([timer]() { return !timer->isActive(); }, 5000));
    }

    QStringList infoTexts;
    QStringList proposed;
};

ino_t FileId(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_ino;
}

// "Processed i of n Textures (p%) - ETR: h:mm:ss" with any time left.
QRegularExpression ProgressLine(int index, int total) {
    return QRegularExpression(
        QString("^Processed %1 of %2 Textures \\(%3%\\) - ETR: \\d+:\\d\\d:\\d\\d$")
            .arg(index)
            .arg(total)
            .arg(index * 100 / total));
}

} // namespace

TEST_F(SaveJob, SavedFileReloadsAndTheWindowShowsTheResult) {
    constexpr int kCount = 90;
    const SpriteWad set = fixtures::GeneratedSet(kCount, 64, 11);
    Open(set);
    Select(objects, 1);
    Select(sprites, 5);
    const QImage selected = ReferenceImage(set.m_textures[4 + 5]);
    ASSERT_EQ(info->toPlainText(), "05 - Splash Ring - Part 2");
    infoTexts.clear();

    // A name typed without extension gets ".swd".
    Save(dir / "saved");
    ASSERT_TRUE(JobEnded());
    EXPECT_EQ(proposed, QStringList{QString::fromStdString((dir / "source.swd").string())});
    EXPECT_EQ(path->text(), Native(dir / "saved.swd"));
    ASSERT_GE(infoTexts.size(), 2);
    EXPECT_EQ(infoTexts.back(), "Done! Saved...");
    // Every line before the result is a progress line, counting up, the last for texture N - 1.
    int previous = -1;
    for (qsizetype i = 0; i + 1 < infoTexts.size(); ++i) {
        const auto match =
            QRegularExpression("^Processed (\\d+) of 90 Textures").match(infoTexts[i]);
        ASSERT_TRUE(match.hasMatch()) << infoTexts[i].toStdString();
        EXPECT_GT(match.captured(1).toInt(), previous);
        previous = match.captured(1).toInt();
    }
    EXPECT_TRUE(ProgressLine(kCount - 1, kCount).match(infoTexts[infoTexts.size() - 2]).hasMatch())
        << infoTexts[infoTexts.size() - 2].toStdString();

    // The document keeps what the packer built; its content is unchanged.
    SpriteWad expected = set;
    ASSERT_EQ(PackTextures(expected).status, PackStatus::Done);
    const SpriteWad& doc = dlg.Document();
    EXPECT_EQ(doc.m_sequences, set.m_sequences);
    EXPECT_TRUE(doc.m_textures == set.m_textures);
    EXPECT_EQ(doc.m_entries, expected.m_entries);
    EXPECT_TRUE(doc.m_pages == expected.m_pages);

    SpriteWad reloaded;
    ASSERT_TRUE(swd::ReadSwdFile((dir / "saved.swd").string(), reloaded).ok());
    EXPECT_EQ(reloaded.m_sequences, set.m_sequences);
    EXPECT_TRUE(reloaded.m_textures == set.m_textures);

    // The selected texture is back in the preview, nothing covers it, every control works.
    EXPECT_EQ(PreviewImage(), selected);
    ASSERT_NE(PackingPage(), nullptr);
    EXPECT_FALSE(PackingPage()->isVisible());
    ExpectIdle();

    // Timer 1001 puts the description back once.
    QTimer* timer = InfoTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 5000);
    RunOutInfoTimer();
    EXPECT_EQ(info->toPlainText(), "05 - Splash Ring - Part 2");
}

// Objects are checked in list order and only the first empty one is named; with no objects at
// all nothing shows. No file dialog opens either way.
TEST_F(SaveJob, EmptyObjectIsNamedAndNothingIsSaved) {
    const struct {
        std::vector<std::pair<std::uint32_t, int>> objects; // slot, texture count
        const char* message;
    } cases[] = {
        {{}, nullptr},
        {{{460, 4}, {463, 0}},
         "DEFAULT_SPRITES contains no textures, please add 1 or more,\nor delete the 463: "
         "DEFAULT_SPRITES object first before saving..."},
        {{{464, 2}, {460, 0}, {463, 0}},
         "SKY_GRAPHICS contains no textures, please add 1 or more,\nor delete the 460: "
         "SKY_GRAPHICS object first before saving..."},
    };
    for (const auto& c : cases) {
        CMainDlg window;
        const auto* windowInfo = window.findChild<QPlainTextEdit*>("info");
        const auto* windowPath = window.findChild<QLineEdit*>("path");
        SpriteWad set;
        for (const auto& [slot, count] : c.objects) {
            ObjectSequence sequence;
            sequence.slotId = slot;
            sequence.SetTextureCount(count);
            sequence.firstTexture = static_cast<std::uint16_t>(set.TextureCount());
            set.m_sequences.push_back(sequence);
            for (int k = 0; k < count; ++k) {
                set.m_textures.push_back(fixtures::MakeTexture(8, 8, slot + k));
            }
        }
        if (!c.objects.empty()) {
            ASSERT_EQ(PackTextures(set).status, PackStatus::Done);
            ASSERT_TRUE(swd::WriteSwdFile((dir / "empty.swd").string(), set).ok());
            ASSERT_TRUE(window.OpenSwdFile(Native(dir / "empty.swd")));
        }
        const QString info = windowInfo->toPlainText();

        QString shown;
        if (c.message != nullptr) {
            WhenModal<QMessageBox>([&shown](QMessageBox* box) {
                shown = box->text();
                EXPECT_EQ(box->windowTitle(), "Error! empty object...");
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                EXPECT_EQ(box->buttons().size(), 1);
                box->button(QMessageBox::Ok)->click();
            });
        }
        bool fileDialog = false;
        WhenModal<QFileDialog>([&fileDialog](QFileDialog* fd) {
            fileDialog = true;
            fd->reject();
        });
        apptest::Click(&window, "Save As SWD");
        EXPECT_EQ(apptest::DropPendingHandlers(), 1) << "the file dialog showed";
        EXPECT_FALSE(fileDialog);

        EXPECT_EQ(shown, QString(c.message));
        EXPECT_EQ(window.m_bSaving.load(), 0);
        EXPECT_EQ(windowInfo->toPlainText(), info);
        EXPECT_EQ(windowPath->text(), c.objects.empty() ? "" : Native(dir / "empty.swd"));
        EXPECT_EQ(window.findChild<QTimer*>("timer1001"), nullptr);
        EXPECT_EQ(fixtures::Tree(dir.path()), c.objects.empty()
                                                  ? std::vector<std::string>{}
                                                  : std::vector<std::string>{"empty.swd"});
    }
}

// The path field's file is proposed; a folder that does not exist is refused and the dialog
// opens again; cancelling it changes nothing.
TEST_F(SaveJob, FileDialogProposesThePathAndRefusesAMissingFolder) {
    Open(fixtures::GeneratedSet(5, 16, 3));
    const QString before = info->toPlainText();
    const std::filesystem::path missing = dir / "missing" / "x.swd";
    QString refusal;
    QStringList reopened;
    WhenModal<QFileDialog>([&](QFileDialog* fd) {
        EXPECT_EQ(fd->selectedFiles(),
                  QStringList{QString::fromStdString((dir / "source.swd").string())});
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            refusal = box->text();
            WhenModal<QFileDialog>([&](QFileDialog* again) {
                reopened = again->selectedFiles();
                again->reject();
            });
            box->button(QMessageBox::Ok)->click();
        });
        TypeFileName(fd, missing);
        static_cast<QDialog*>(fd)->accept();
    });
    QTest::mouseClick(Button("Save As SWD"), Qt::LeftButton);

    EXPECT_TRUE(refusal.contains(Native(dir / "missing"))) << refusal.toStdString();
    EXPECT_EQ(reopened, QStringList{QString::fromStdString(missing.string())});
    EXPECT_EQ(info->toPlainText(), before);
    EXPECT_EQ(InfoTimer(), nullptr);
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"source.swd"});
    ExpectIdle();
}

// Escape during packing asks; No lets the save finish and replace the file, Yes stops it and
// leaves the file as it was. Either way every control comes back.
TEST_F(SaveJob, EscapeDuringPackingAsks) {
    // Large enough that packing outlasts the question by far.
    constexpr int kCount = 30000;
    const SpriteWad set = fixtures::GeneratedSet(kCount, 64, 5);
    // Saved over the file it came from, which the dialog proposes.
    Open(set, "target.swd");
    const std::filesystem::path target = dir / "target.swd";

    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(answer == QMessageBox::Yes ? "Yes" : "No");
        const std::vector<std::uint8_t> old = fixtures::ReadFileBytes(target);
        const ino_t oldFile = FileId(target);
        infoTexts.clear();
        std::vector<bool> during;
        Qt::CursorShape cursorDuring = Qt::ArrowCursor;
        bool pageShown = false;
        QSize pageSize;
        Save(target, [&](QFileDialog*) {
            WhenModal<QMessageBox>([](QMessageBox* box) {
                EXPECT_EQ(box->text(), "target.swd already exists.\nDo you want to replace it?");
                box->button(QMessageBox::Yes)->click();
            });
        });
        // The moment the job runs, press Escape and answer the question.
        apptest::WhenShown<QWidget>(
            [&]() -> QWidget* { return dlg.m_bSaving.load() != 0 ? &dlg : nullptr; },
            [&](QWidget*) {
                WhenModal<QMessageBox>([&](QMessageBox* box) {
                    EXPECT_EQ(box->text(), "Do you wish to cancel saving?");
                    during = JobControlsEnabled();
                    cursorDuring = dlg.cursor().shape();
                    if (answer == QMessageBox::No) {
                        // The page being filled shows over the preview at its natural size.
                        pageShown = QTest::qWaitFor(
                            [&]() {
                                return PackingPage() != nullptr && PackingPage()->isVisible();
                            },
                            10000);
                        pageSize = PackingPage()->pixmap().size();
                    }
                    box->button(answer)->click();
                });
                QTest::keyClick(&dlg, Qt::Key_Escape);
            },
            "running save job");
        ASSERT_TRUE(JobEnded());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(during, std::vector<bool>(CMainDlg::kButtonCount + 2, false));
        EXPECT_EQ(cursorDuring, Qt::WaitCursor);
        ExpectIdle();
        EXPECT_FALSE(PackingPage()->isVisible());
        if (answer == QMessageBox::No) {
            EXPECT_TRUE(pageShown);
            EXPECT_EQ(pageSize, QSize(256, 256));
            EXPECT_EQ(infoTexts.back(), "Done! Saved...");
            // A new file took the old one's place.
            EXPECT_NE(FileId(target), oldFile);
            EXPECT_EQ(dlg.Document().m_entries.size(), std::size_t{kCount});
            SpriteWad reloaded;
            ASSERT_TRUE(swd::ReadSwdFile(target.string(), reloaded).ok());
            EXPECT_TRUE(reloaded.m_textures == set.m_textures);
        } else {
            EXPECT_EQ(infoTexts.back(), "Canceled! Saved...");
            EXPECT_LT(dlg.Document().m_entries.size(), std::size_t{kCount});
            EXPECT_EQ(FileId(target), oldFile);
            EXPECT_EQ(fixtures::ReadFileBytes(target), old);
        }
        EXPECT_EQ(path->text(), Native(target));
        EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"target.swd"});
    }
}

namespace {

// Makes a folder read-only for the length of a scope. The superuser ignores permission bits,
// so a test run by it also takes on the identity of "nobody" meanwhile.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::filesystem::path& folder) : m_folder(folder) {
        std::filesystem::permissions(m_folder,
                                     std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);
        m_wasRoot = geteuid() == 0;
        if (m_wasRoot) {
            EXPECT_EQ(seteuid(65534), 0);
        }
    }
    ~ReadOnlyFolder() {
        if (m_wasRoot) {
            EXPECT_EQ(seteuid(0), 0);
        }
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }

private:
    std::filesystem::path m_folder;
    bool m_wasRoot = false;
};

} // namespace

// The system's reason is reported naming the file; the Info pane keeps the last progress line,
// which the timer then leaves alone; the old file and the folder stay exactly as they were.
TEST_F(SaveJob, ReadOnlyFolderReportsTheFileAndLeavesItAlone) {
    constexpr int kCount = 40;
    const std::filesystem::path folder = dir / "locked";
    std::filesystem::create_directory(folder);
    Open(fixtures::GeneratedSet(kCount, 32, 9), "locked/target.swd");
    const std::filesystem::path target = folder / "target.swd";
    const std::vector<std::uint8_t> old = fixtures::ReadFileBytes(target);

    QString error;
    {
        ReadOnlyFolder locked(folder);
        Save(target, [&](QFileDialog*) {
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                ASSERT_NE(box->button(QMessageBox::Yes), nullptr) << box->text().toStdString();
                box->button(QMessageBox::Yes)->click();
                WhenModal<QMessageBox>([&](QMessageBox* failure) {
                    error = failure->text();
                    failure->button(QMessageBox::Ok)->click();
                });
            });
        });
        ASSERT_TRUE(JobEnded());
    }
    EXPECT_TRUE(error.contains(QString::fromStdString(target.string()))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EACCES))))
        << error.toStdString();
    EXPECT_TRUE(ProgressLine(kCount - 1, kCount).match(info->toPlainText()).hasMatch())
        << info->toPlainText().toStdString();
    EXPECT_EQ(fixtures::ReadFileBytes(target), old);
    EXPECT_EQ(fixtures::Tree(folder), std::vector<std::string>{"target.swd"});
    EXPECT_EQ(path->text(), Native(target));
    ExpectIdle();

    const QString line = info->toPlainText();
    RunOutInfoTimer();
    EXPECT_EQ(info->toPlainText(), line);
}
