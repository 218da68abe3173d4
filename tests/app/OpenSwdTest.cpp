// Open SWD and Close SWD through the real window, file dialog and message boxes.
#include "WindowTest.h"

using namespace apptest;

namespace {

// 460 owns textures 0..3, 463 4..36 and 464 37..39; 470 is empty.
class OpenSwd : public WindowTest {
protected:
    OpenSwd() : set(fixtures::GeneratedSet(40, 64, 7)) {
        set.AddObject(470);
        OpenSet(set);
    }
    SpriteWad set;
};

TEST_F(OpenSwd, ListsPreviewPathAndDescriptionsFollowTheSelection) {
    Press("Close SWD");
    const QString file = Path("target.swd");
    AnswerFileDialog(file, 0, [](QFileDialog* fd) {
        EXPECT_EQ(fd->nameFilters(), QStringList{"Tomb Raider Sprites Wad File (*.swd)"});
    });
    Press("Open SWD");
    const struct {
        int object, line, sprite;
        QString info;
    } views[] = {
        {0, 3, 3, "03 - Clouds - Part 4"},
        {2, 0, 37, ""}, // MISC_SPRITES has no descriptions
        {1, 10, 14,
         "10 - (Top Left Corner) PS1 Sprite: Footprint\n"
         ".... - (Bottom Right Corner) Snow / Underwater Dust"},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(v.sprite);
        Select(objects, v.object);
        Select(sprites, v.line);
        EXPECT_EQ(info->toPlainText(), v.info);
        EXPECT_EQ(PreviewImage(), ReferenceImage(set.m_textures[v.sprite]));
    }
    // An object without textures keeps what was shown; Close SWD empties all but the Info pane.
    QTest::keyClick(objects, Qt::Key_End);
    EXPECT_EQ(sprites->count(), 0);
    EXPECT_EQ(PreviewImage(), ReferenceImage(set.m_textures[14]));
    Press("Close SWD");
    EXPECT_TRUE(path->text().isEmpty() && preview->pixmap().isNull());
    EXPECT_EQ(objects->count() + sprites->count(), 0);
    EXPECT_EQ(info->toPlainText().left(2), "10");
    // A wad whose first object has no textures leaves nothing of the last one on show.
    OpenSet(set);
    SpriteWad empty;
    empty.AddObject(470);
    OpenSet(empty, "empty.swd");
    EXPECT_TRUE(info->toPlainText().isEmpty() && preview->pixmap().isNull());
}

// The reader's refusal is shown as it is, and the wad on show stays.
TEST_F(OpenSwd, ARefusedFileChangesNothing) {
    Select(objects, 1);
    Select(sprites, 10);
    const Shown before = Take();
    QString message;
    AnswerMessage(&message);
    EXPECT_FALSE(dlg.OpenSwdFile(Write("old.swd", fixtures::SwdBuilder().Version(128).Build())));
    EXPECT_EQ(message, "This file isn't a Tomb Raider Sprite Wad file or it's a different version "
                       "or type of file...");
    EXPECT_EQ(Take(), before);
}

TEST_F(OpenSwd, ZeroCountWadIsRecoveredOnlyOnYes) {
    auto zero = fixtures::SmallWad().Build();
    std::fill(zero.begin() + 4, zero.begin() + 8, 0);
    const QString file = Write("zero.swd", zero);
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString question;
        AnswerMessage(&question, answer);
        EXPECT_EQ(dlg.OpenSwdFile(file), answer == QMessageBox::Yes);
        EXPECT_EQ(question,
                  "This sprite wad says it holds no sprites, but 5 sprites follow. Recover them?");
        EXPECT_EQ(dlg.Wad().TextureCount(), answer == QMessageBox::Yes ? 5u : 40u);
    }
    EXPECT_EQ(path->text(), "") << "saving the recovered wad asks for a name";
    EXPECT_EQ(info->toPlainText(), "Recovered 5 sprites from zero.swd. Save As SWD to keep them.");
    EXPECT_TRUE(dlg.IsModified()) << "closing it asks before it is lost";
}

} // namespace
