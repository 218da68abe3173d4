// Undo and redo of every edit, the question before unsaved edits are lost, drag and drop,
// several images at once and the keys, through the real window.
#include "ModalDriver.h"
#include "WindowTest.h"
#include "app/CAddObjectDlg.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/CSplitOptionsDlg.h"
#include "app/QtImage.h"
#include "images/TextureExport.h"
#include "objects/SwoFile.h"
#include "support/Fixtures.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

using apptest::AnswerMessage;
using apptest::Click;
using apptest::Shown;
using apptest::WhenModal;

namespace {

// Types `files` into the next file dialog and accepts it; several names go in quotes.
void AnswerFiles(const QStringList& files) {
    WhenModal<QFileDialog>([files](QFileDialog* fd) {
        QString typed = files.value(0);
        if (files.size() > 1) {
            EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFiles);
            typed = '"' + files.join("\" \"") + '"';
        }
        fd->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
        static_cast<QDialog*>(fd)->accept();
        EXPECT_FALSE(fd->isVisible()) << "the file dialog refused " << typed.toStdString();
    });
}

// SmallWad: object lines 463 (textures 2..4: 56x56, 1x1, 256x3), 460 (0..1: 64x64, 32x16),
// 494 (empty, at 5).
class EditHistory : public apptest::WindowTest {
protected:
    EditHistory() {
        fixtures::WriteFileBytes(dir / "small.swd", fixtures::SmallWad().Build());
        EXPECT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
    }
    ~EditHistory() override { QGuiApplication::clipboard()->clear(); }

    // An object file of slot 460 with two textures.
    QString WriteSwo() {
        SpriteWad source;
        source.AddObject(460);
        source.AddTexture(0, fixtures::MakeTexture(9, 5, 31));
        source.AddTexture(0, fixtures::MakeTexture(4, 12, 32));
        EXPECT_TRUE(swo::WriteSwoFile((dir / "sky.swo").string(), source, 0).ok());
        return Path("sky.swo");
    }

    void Activate() {
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }

    void WaitForJobs() {
        QElapsedTimer clock;
        clock.start();
        while (dlg.JobRuns() && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_FALSE(dlg.JobRuns());
    }

    // Sends the drag and the drop of these files to the window, as the platform does.
    bool Drop(const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) {
            urls.append(QUrl::fromLocalFile(file));
        }
        data.setUrls(urls);
        const QPoint at = dlg.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &drop);
        return drop.isAccepted();
    }
};

struct EditCase {
    const char* action;
    int object; // selected before the edit
    int line;
    std::function<void()> edit;
};

TEST_F(EditHistory, EveryEditUndoesAndRedoesToTheDocumentAndViewItLeft) {
    const auto objectDialog = [](int id) {
        WhenModal<CAddObjectDlg>([id](CAddObjectDlg* d) {
            d->findChild<QComboBox*>("choice")->setCurrentIndex(5);
            d->findChild<QLineEdit*>("objectId")->setText(QString::number(id));
            Click(d, "OK");
        });
    };
    const auto paste = [] {
        QGuiApplication::clipboard()->setImage(ToQImage(fixtures::MakeTexture(40, 30, 41)));
    };
    const EditCase cases[] = {
        {"Add Object", 0, 1,
         [&] {
             objectDialog(600);
             Press("Add Object");
         }},
        {"Edit Object", 1, 0,
         [&] {
             objectDialog(601);
             Press("Edit Object");
         }},
        {"Delete Object", 1, 1, [this] { Press("Delete Object"); }},
        {"Import Object", 1, 0,
         [this] {
             AnswerFiles({WriteSwo()});
             Press("Import Object");
         }},
        {"Import Texture", 0, 1,
         [this] {
             AnswerFiles({WriteImage("in.png", fixtures::MakeTexture(300, 20, 51))});
             Press("Import Texture");
         }},
        {"Add Texture", 1, 0,
         [this] {
             AnswerFiles({WriteImage("add.png", fixtures::MakeTexture(7, 9, 52))});
             Press("Add Texture");
         }},
        {"Delete Texture", 0, 1, [this] { Press("Delete Texture"); }},
        {"Paste Texture", 0, 1,
         [&] {
             paste();
             Press("Paste Texture");
         }},
        {"Paste As New", 2, -1,
         [&] {
             paste();
             Press("Paste As New");
         }},
        {"Add Split Texture", 1, 1,
         [this] {
             AnswerFiles({WriteImage("split.png", fixtures::MakeTexture(300, 200, 53))});
             WhenModal<CSplitOptionsDlg>([](CSplitOptionsDlg* d) { Click(d, "OK"); });
             Press("Add Split Texture");
             WaitForJobs();
         }},
        {"Resize Texture", 0, 1,
         [this] {
             WhenModal<CResizeDlg>([](CResizeDlg* d) {
                 d->findChild<QLineEdit*>("width")->setText("20");
                 d->findChild<QLineEdit*>("height")->setText("13");
                 Click(d, "OK");
             });
             Press("Resize Texture");
         }},
        {"Resize Range", 1, 0,
         [this] {
             WhenModal<CResizeRangeDlg>([](CResizeRangeDlg* d) {
                 d->findChild<QLineEdit*>("width")->setText("10");
                 d->findChild<QLineEdit*>("height")->setText("10");
                 Click(d, "OK");
             });
             Press("Resize Range");
         }},
    };
    Activate();
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.action);
        ASSERT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
        EXPECT_EQ(dlg.UndoText(), "") << "an Open starts a new history";
        Select(objects, c.object);
        if (c.line >= 0) {
            Select(sprites, c.line);
        }
        const Shown before = Take();
        c.edit();
        const Shown after = Take();
        ASSERT_NE(after, before);
        EXPECT_TRUE(dlg.IsModified());
        EXPECT_EQ(dlg.UndoText(), QString("Undo ") + c.action);

        // The dialogs of the edit took the focus away; the keys go to the active window.
        Activate();
        QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Take(), before);
        EXPECT_EQ(dlg.RedoText(), QString("Redo ") + c.action);
        EXPECT_FALSE(dlg.IsModified());
        QTest::keyClick(&dlg, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(Take(), after);
        QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Take(), after);
        EXPECT_EQ(dlg.RedoText(), "");
    }
}

TEST_F(EditHistory, UnsavedEditsAreAskedAboutBeforeTheyAreLostAndCancelKeepsThem) {
    Activate();
    // Nothing edited: Close SWD and Exit act at once.
    EXPECT_EQ(apptest::ModalsDuring([&] { Press("Close SWD"); }), 0);
    ASSERT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
    Press("Delete Texture");
    const Shown edited = Take();

    const std::function<void()> ways[] = {
        [&] { Press("Close SWD"); },
        [&] { Press("Exit"); },
        [&] { QTest::keyClick(&dlg, Qt::Key_Escape); },
        [&] { dlg.close(); },
        [&] { Press("Open SWD"); },
        [&] { Drop({Path("small.swd")}); },
    };
    for (const auto& way : ways) {
        QString question;
        AnswerMessage(&question, QMessageBox::Cancel);
        way();
        EXPECT_EQ(question, "Save changes to small.swd before closing?");
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(Take(), edited);
    }
    // Discard goes on; the fresh Open then asks nothing.
    AnswerMessage(nullptr, QMessageBox::Discard);
    Drop({Path("small.swd")});
    EXPECT_FALSE(dlg.IsModified());
    EXPECT_EQ(dlg.UndoText(), "");
    EXPECT_EQ(apptest::ModalsDuring([&] { Press("Exit"); }), 0);
    EXPECT_FALSE(dlg.isVisible());
}

// Saves over the proposed file, the one opened.
void AnswerSaveDialog(bool accept = true) {
    WhenModal<QFileDialog>([accept](QFileDialog* fd) {
        if (!accept) {
            fd->reject();
            return;
        }
        WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        static_cast<QDialog*>(fd)->accept();
    });
}

TEST_F(EditHistory, ASaveKeepsTheHistoryAndTheSaveChoiceGoesOnOnlyOnceWritten) {
    Activate();
    // A wad with an empty object cannot be saved.
    Select(objects, 2);
    Press("Delete Object");
    Press("Delete Texture");
    AnswerSaveDialog();
    Press("Save As SWD");
    WaitForJobs();
    EXPECT_FALSE(dlg.IsModified());
    EXPECT_EQ(dlg.UndoText(), "Undo Delete Texture");
    dlg.Undo();
    EXPECT_TRUE(dlg.IsModified()) << "going back past the save is an unsaved change";

    // Save, then the file dialog cancelled: nothing is lost and the window stays.
    AnswerMessage(nullptr, QMessageBox::Save);
    AnswerSaveDialog(false);
    Press("Exit");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.IsModified());

    QString question;
    AnswerMessage(&question, QMessageBox::Save);
    AnswerSaveDialog();
    Press("Exit");
    EXPECT_TRUE(dlg.isVisible()) << "the window waits for the save";
    WaitForJobs();
    EXPECT_EQ(question, "Save changes to small.swd before closing?");
    EXPECT_FALSE(dlg.isVisible());
    ASSERT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
    EXPECT_EQ(dlg.Document().TextureCount(), 5u) << "the file holds the document as it was undone";
}

TEST_F(EditHistory, DroppedWadObjectAndImagesGoInAndAnythingElseIsRefused) {
    fixtures::WriteFileBytes(dir / "other.swd", fixtures::SmallWad().Build());
    ASSERT_TRUE(Drop({Path("other.swd")}));
    EXPECT_EQ(path->text(), QDir::toNativeSeparators(Path("other.swd")));
    EXPECT_EQ(dlg.UndoText(), "");

    ASSERT_TRUE(Drop({WriteSwo()}));
    EXPECT_EQ(objects->currentText(), "460: SKY_GRAPHICS  Textures=4");
    EXPECT_EQ(dlg.UndoText(), "Undo Import Object");

    const QStringList images = {WriteImage("a.png", fixtures::MakeTexture(3, 4, 61)),
                                WriteImage("b.bmp", fixtures::MakeTexture(5, 6, 62)),
                                WriteImage("c.tga", fixtures::MakeTexture(7, 8, 63))};
    ASSERT_TRUE(Drop(images));
    EXPECT_EQ(SpriteLines().mid(4), (QStringList{"Texture 4 :  (3 x 4)", "Texture 5 :  (5 x 6)",
                                                 "Texture 6 :  (7 x 8)"}));
    EXPECT_EQ(dlg.Document().ObjectTexture(1, 5).GetImageSize(), 5u * 6u * 3u);
    dlg.Undo();
    EXPECT_EQ(objects->currentText(), "460: SKY_GRAPHICS  Textures=4") << "one step for all";

    const Shown before = Take();
    fixtures::WriteFileBytes(dir / "notes.txt", {'h', 'i'});
    QString message;
    AnswerMessage(&message);
    Drop({images[0], Path("notes.txt")});
    EXPECT_TRUE(message.contains("notes.txt")) << message.toStdString();
    EXPECT_FALSE(message.contains("a.png"));
    EXPECT_EQ(Take(), before);

    dlg.m_bSplitting = 1;
    EXPECT_FALSE(Drop({images[0]})) << "no drop while a job runs";
    dlg.m_bSplitting = 0;
    EXPECT_EQ(Take(), before);
}

TEST_F(EditHistory, AddTextureTakesSeveralFilesAndNamesTheOnesThatFail) {
    Select(objects, 1);
    fixtures::WriteFileBytes(dir / "broken.png", {0x89, 'P', 'N', 'G', 0, 1, 2});
    const QStringList files = {WriteImage("one.png", fixtures::MakeTexture(3, 3, 71)),
                               Path("broken.png"),
                               WriteImage("two.png", fixtures::MakeTexture(400, 200, 72))};
    AnswerFiles(files);
    QString message;
    AnswerMessage(&message);
    Press("Add Texture");
    EXPECT_EQ(message, "Failed To Load Image...\n\nbroken.png");
    EXPECT_EQ(SpriteLines().mid(2),
              (QStringList{"Texture 2 :  (3 x 3)", "Texture 3 :  (256 x 128)"}));
    dlg.Undo();
    EXPECT_EQ(SpriteLines().size(), 2) << "one step for the batch";

    // One file that fails keeps the single message.
    AnswerFiles({Path("broken.png")});
    QString single;
    AnswerMessage(&single);
    Press("Add Texture");
    EXPECT_EQ(single, "Failed To Load Image...");
    EXPECT_EQ(dlg.UndoText(), "");
}

TEST_F(EditHistory, KeysActOnlyWhileTheirButtonIsEnabledAndUndoWaitsForJobs) {
    Activate();
    QGuiApplication::clipboard()->setImage(ToQImage(fixtures::MakeTexture(6, 6, 81)));
    const std::pair<QKeyCombination, const char*> keys[] = {
        {Qt::Key_Delete, "Delete Texture"},
        {Qt::CTRL | Qt::Key_V, "Paste Texture"},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_V, "Paste As New"},
    };
    for (const auto& [key, action] : keys) {
        SCOPED_TRACE(action);
        const Shown before = Take();
        Button(action)->setEnabled(false);
        QTest::keyClick(&dlg, key.key(), key.keyboardModifiers());
        EXPECT_EQ(Take(), before);
        Button(action)->setEnabled(true);
        QTest::keyClick(&dlg, key.key(), key.keyboardModifiers());
        EXPECT_EQ(dlg.UndoText(), QString("Undo ") + action);

        dlg.m_bSplitting = 1;
        QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(dlg.UndoText(), QString("Undo ") + action) << "no undo while a job runs";
        dlg.m_bSplitting = 0;
        // The dialogs of the edit took the focus away; the keys go to the active window.
        Activate();
        QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Take(), before);
    }
}

} // namespace
