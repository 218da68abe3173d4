// Undo and redo of every edit, the question before unsaved edits are lost, drag and drop and
// several images at once, through the real window.
#include "DropFiles.h"
#include "WindowTest.h"
#include "app/AppSettings.h"
#include "app/CAddObjectDlg.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/CSplitOptionsDlg.h"
#include "app/QtImage.h"
#include "formats/SwdFile.h"

#include <sys/stat.h>

using namespace apptest;

namespace {

// SmallWad: object lines 463 (3 textures), 460 (2), 494 (none).
class EditHistory : public WindowTest {
protected:
    EditHistory() {
        EXPECT_TRUE(dlg.OpenSwdFile(Write("small.swd", fixtures::SmallWad().Build())));
    }
};

// Answers the next size dialog with a width of 20.
template <class D> void AnswerSize() {
    WhenModal<D>([](D* d) { Field(d, "width")->setText("20"), Click(d, "OK"); });
}

TEST_F(EditHistory, EveryEditUndoesAndRedoesToTheDocumentAndViewItLeft) {
    const auto objectDialog = [](int id) {
        WhenModal<CAddObjectDlg>([id](CAddObjectDlg* d) {
            d->findChild<QComboBox*>("choice")->setCurrentIndex(5);
            Type(Field(d, "objectId"), QString::number(id));
            Click(d, "OK");
        });
    };
    const auto paste = [] {
        QGuiApplication::clipboard()->setImage(ToQImage(fixtures::MakeTexture(40, 30, 41)));
    };
    const auto image = [this](int width, int height) {
        AnswerFileDialog(WriteImage("in.png", fixtures::MakeTexture(width, height, 51)));
    };
    const struct {
        const char* action;
        int object, line; // selected before the edit
        std::function<void()> answer;
    } cases[] = {
        {"Add Object", 0, 1, [&] { objectDialog(600); }},
        {"Edit Object", 1, 0, [&] { objectDialog(601); }},
        {"Delete Object", 1, 1, [] {}},
        {"Import Object", 1, 0, [this] { AnswerFileDialog(WriteSwo()); }},
        {"Import Texture", 0, 1, [&] { image(300, 20); }},
        {"Add Texture", 1, 0, [&] { image(7, 9); }},
        {"Delete Texture", 0, 1, [] {}},
        {"Paste Texture", 0, 1, paste},
        {"Paste As New", 2, -1, paste},
        {"Add Split Texture", 1, 1,
         [&] {
             image(300, 200);
             WhenModal<CSplitOptionsDlg>([](CSplitOptionsDlg* d) { Click(d, "OK"); });
         }},
        {"Resize Texture", 0, 1, [] { AnswerSize<CResizeDlg>(); }},
        {"Resize Range", 1, 0, [] { AnswerSize<CResizeRangeDlg>(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        Activate();
        ASSERT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
        Select(objects, c.object);
        if (c.line >= 0) {
            Select(sprites, c.line);
        }
        const Shown before = Take();
        c.answer();
        Press(c.action);
        WaitForJobs();
        const Shown after = Take();
        ASSERT_NE(after, before);
        EXPECT_EQ(dlg.UndoText(), QString("Undo ") + c.action);
        // The edit's dialogs took the focus away; the keys go to the active window.
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
    }
}

TEST_F(EditHistory, UnsavedEditsAreAskedAboutBeforeTheyAreLostAndCancelKeepsThem) {
    Activate();
    ASSERT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
    Press("Delete Texture");
    const Shown edited = Take();
    const std::function<void()> ways[] = {
        [&] { Press("Close SWD"); },
        [&] { Press("Exit"); },
        [&] { QTest::keyClick(&dlg, Qt::Key_Escape); },
        [&] { dlg.close(); },
        [&] { Press("Open SWD"); },
        [&] { DropFiles(&dlg, {Path("small.swd")}); },
    };
    for (const auto& way : ways) {
        QString question;
        AnswerMessage(&question, QMessageBox::Cancel);
        way();
        EXPECT_EQ(question, "Save changes to small.swd before closing?");
        EXPECT_EQ(Take(), edited);
    }
    AnswerMessage(nullptr, QMessageBox::Discard);
    DropFiles(&dlg, {Path("small.swd")});
    EXPECT_FALSE(dlg.IsModified());
    EXPECT_EQ(ModalsDuring([&] { Press("Exit"); }), 0);
    EXPECT_FALSE(dlg.isVisible());
}

// A save the question started that fails puts nothing off: the wad and its edits stay open.
// A save that works marks the wad saved, and the next wad opened is unmodified too.
TEST_F(EditHistory, AFailedSaveFromTheQuestionKeepsTheEditsAndTheWadOpen) {
    Select(objects, 2);
    Press("Delete Object"); // the empty object, which a save would refuse
    const Shown edited = Take();
    const std::string fifo = (dir / "fifo.swd").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    QString error;
    // Save answered, the wad's file is replaced by a name the writer refuses.
    const auto saveAs = [](const QString& file, std::function<void()> then) {
        AnswerMessage(nullptr, QMessageBox::Save,
                      [=] { AnswerFileDialog(file, 0, [=](QFileDialog*) { then(); }); });
    };
    saveAs(QString::fromStdString(fifo),
           [&] { AnswerMessage(nullptr, QMessageBox::Yes, [&] { AnswerMessage(&error); }); });
    Press("Close SWD");
    WaitForJobs();
    EXPECT_TRUE(error.contains("fifo.swd")) << error.toStdString();
    EXPECT_EQ(Take().objects, edited.objects);
    EXPECT_TRUE(dlg.IsModified());

    saveAs(Path("saved.swd"), [] {});
    Press("Close SWD");
    WaitForJobs();
    EXPECT_TRUE(QTest::qWaitFor([this] { return objects->count() == 0; }));
    ASSERT_TRUE(dlg.OpenSwdFile(Path("saved.swd")));
    EXPECT_FALSE(dlg.IsModified());
    EXPECT_EQ(ModalsDuring([&] { Press("Close SWD"); }), 0);
}

// The oldest of 101 edits falls out of the history, yet undoing all the rest leaves it in.
TEST_F(EditHistory, UndoingEveryKeptStepStillLeavesTheWadModified) {
    QGuiApplication::clipboard()->setImage(ToQImage(fixtures::MakeTexture(2, 2, 1)));
    for (int i = 0; i < 101; ++i) {
        Press("Paste As New");
    }
    for (int i = 0; i < 100; ++i) {
        dlg.Undo();
    }
    EXPECT_EQ(std::pair(dlg.UndoText(), SpriteLines().size()), std::pair(QString(), qsizetype{4}));
    EXPECT_TRUE(dlg.IsModified());
}

// With every object deleted there is nothing a save could write: Save is not offered.
TEST_F(EditHistory, WithNoObjectLeftTheQuestionOffersNoSave) {
    for (int i = 0; i < 3; ++i) {
        Press("Delete Object");
    }
    WhenModal<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->button(QMessageBox::Save), nullptr);
        box->button(QMessageBox::Cancel)->click();
    });
    Press("Close SWD");
}

TEST_F(EditHistory, DroppedObjectAndImagesGoInAndAnythingElseIsRefused) {
    ASSERT_TRUE(DropFiles(&dlg, {WriteSwo()}));
    EXPECT_EQ(objects->currentText(), "460: SKY_GRAPHICS  Textures=3");
    const QStringList images = {WriteImage("a.png", fixtures::MakeTexture(3, 4, 61)),
                                WriteImage("b.bmp", fixtures::MakeTexture(5, 6, 62)),
                                WriteImage("c.tga", fixtures::MakeTexture(7, 8, 63))};
    ASSERT_TRUE(DropFiles(&dlg, images));
    EXPECT_EQ(SpriteLines().mid(3), (QStringList{"Texture 3 :  (3 x 4)", "Texture 4 :  (5 x 6)",
                                                 "Texture 5 :  (7 x 8)"}));
    dlg.Undo();
    EXPECT_EQ(objects->currentText(), "460: SKY_GRAPHICS  Textures=3") << "one step for all";
    const Shown before = Take();
    QString message;
    AnswerMessage(&message);
    DropFiles(&dlg, {images[0], Write("notes.txt", {'h', 'i'})});
    EXPECT_EQ(message, "Only sprite wads (.swd), objects (.swo) and images can be dropped here, "
                       "not:\n\nnotes.txt");
    EXPECT_EQ(Take(), before) << "nothing of a refused drop goes in";
    AnswerMessage(nullptr, QMessageBox::Discard, [] { AnswerMessage(nullptr); });
    DropFiles(&dlg, {Write("bad.swd", {'n', 'o'}), images[0]});
    EXPECT_EQ(Take(), before) << "what follows a wad that fails to open stays out";
}

TEST_F(EditHistory, AddTextureTakesSeveralFilesAndNamesTheOnesThatFail) {
    Select(objects, 1);
    AnswerFileDialog('"' + WriteImage("one.png", fixtures::MakeTexture(3, 3, 71)) + "\" \"" +
                         Write("broken.png", {0x89, 'P', 'N', 'G', 0, 1, 2}) + "\" \"" +
                         WriteImage("two.png", fixtures::MakeTexture(400, 200, 72)) + '"',
                     4);
    QString message;
    AnswerMessage(&message);
    Press("Add Texture");
    EXPECT_EQ(message, "Failed To Load Image...\n\nbroken.png");
    EXPECT_EQ(SpriteLines().mid(2),
              (QStringList{"Texture 2 :  (3 x 3)", "Texture 3 :  (256 x 128)"}));
    EXPECT_EQ(sprites->currentIndex(), 3) << "the last one added";
    dlg.Undo();
    EXPECT_EQ(SpriteLines().size(), 2) << "one step for the batch";
    // The filter left selected is where the image dialog opens next, also in the next run and
    // for another command, which takes one existing file.
    EXPECT_EQ(AppSettings().Choices().imageFilterIndex, 4);
    WhenModal<QFileDialog>([](QFileDialog* fd) {
        EXPECT_EQ(fd->selectedNameFilter(), "PNG (*.png)");
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
        fd->reject();
    });
    Press("Import Texture");
}

} // namespace
