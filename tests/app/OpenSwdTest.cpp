// Open SWD and Close SWD through the real window, file dialog and message boxes.
#include "WindowTest.h"

using namespace apptest;

namespace {

// Sprite i of the generated page: odd widths catch row-length mistakes.
QRect SpriteRect(int i) {
    return {(i % 8) * 32, (i / 8) * 32, 9 + (i % 5) * 4, 8 + (i % 3) * 8};
}

class OpenSwd : public WindowTest {
protected:
    OpenSwd() : page(fixtures::MakeTexture(256, 256, 7)) {}

    // 460 with 6 sprites, 463 with 34, 464 with 1, 494 with a count stored as +2, 470 with none.
    std::vector<std::uint8_t> Generated() const {
        fixtures::SwdBuilder b;
        for (int i = 0; i < 43; ++i) {
            const QRect r = SpriteRect(i);
            b.Entry(static_cast<std::uint8_t>(r.x()), static_cast<std::uint8_t>(r.y()), 0,
                    r.width(), r.height());
        }
        return b.Page(page)
            .Sequence(460, -6, 0)
            .Sequence(463, -34, 6)
            .Sequence(464, -1, 40)
            .Sequence(494, 2, 41)
            .Sequence(470, 0, 43)
            .Build();
    }

    TexturePage page;
};

TEST_F(OpenSwd, ListsPreviewPathAndDescriptionsFollowTheSelection) {
    const QString file = Write("gen.swd", Generated());
    AnswerFileDialog(file, 0, [](QFileDialog* fd) {
        EXPECT_EQ(fd->nameFilters(), QStringList{"Tomb Raider Sprites Wad File (*.swd)"});
    });
    Press("Open SWD");
    EXPECT_EQ(path->text(), file);
    EXPECT_EQ(ObjectLines(),
              (QStringList{"460: SKY_GRAPHICS  Textures=6", "463: DEFAULT_SPRITES  Textures=34",
                           "464: MISC_SPRITES  Textures=1", "494: CUSTOM_SPRITES  Textures=2",
                           "470: FONT_GRAPHICS  Textures=0"}));
    EXPECT_EQ(SpriteLines().mid(4),
              (QStringList{"Texture 4 :  (25 x 16)", "Texture 5 :  (9 x 24)"}));
    const struct {
        int object, line, sprite;
        QString info;
    } views[] = {
        {0, 3, 3, "03 - Clouds - Part 4"},
        {2, 0, 40, ""}, // MISC_SPRITES has no descriptions
        {1, 10, 16,
         "10 - (Top Left Corner) PS1 Sprite: Footprint\n"
         ".... - (Bottom Right Corner) Snow / Underwater Dust"},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(v.sprite);
        Select(objects, v.object);
        EXPECT_TRUE(v.line != 0 || sprites->currentIndex() == 0) << "an object opens on its first";
        Select(sprites, v.line);
        EXPECT_EQ(info->toPlainText(), v.info);
        EXPECT_EQ(PreviewImage(), ReferenceImage(page).copy(SpriteRect(v.sprite)));
    }
    // An object without textures keeps what was shown; Close SWD empties all but the Info pane.
    QTest::keyClick(objects, Qt::Key_End);
    EXPECT_EQ(sprites->count(), 0);
    EXPECT_EQ(PreviewImage(), ReferenceImage(page).copy(SpriteRect(16)));
    Press("Close SWD");
    EXPECT_TRUE(path->text().isEmpty() && preview->pixmap().isNull());
    EXPECT_EQ(objects->count() + sprites->count(), 0);
    EXPECT_EQ(info->toPlainText().left(2), "10");
}

TEST_F(OpenSwd, RefusedFilesAndACancelledDialogChangeNothing) {
    ASSERT_TRUE(dlg.OpenSwdFile(Write("gen.swd", Generated())));
    Select(objects, 1);
    Select(sprites, 10);
    const Shown before = Take();
    std::vector<std::uint8_t> cut = Generated();
    cut.resize(cut.size() / 2);
    const QString missing = Path("missing.swd");
    const std::pair<QString, QString> cases[] = {
        {Write("old.swd", fixtures::SwdBuilder().Version(128).Build()),
         "This file isn't a Tomb Raider Sprite Wad file or it's a different version or type of "
         "file..."},
        {Write("cut.swd", cut), "This sprite wad is damaged"},
        {missing, missing},
    };
    for (const auto& [file, text] : cases) {
        QString message;
        AnswerMessage(&message);
        EXPECT_FALSE(dlg.OpenSwdFile(file));
        EXPECT_TRUE(message.contains(text)) << message.toStdString();
        EXPECT_EQ(Take(), before) << file.toStdString();
    }
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
        EXPECT_EQ(dlg.Document().TextureCount(), answer == QMessageBox::Yes ? 5u : 0u);
    }
    EXPECT_EQ(path->text(), "") << "saving the recovered wad asks for a name";
}

} // namespace
