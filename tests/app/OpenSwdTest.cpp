// Open SWD and Close SWD through the real window, file dialog and message boxes.
#include "WindowTest.h"

#include <QTest>

using namespace apptest;

namespace {

// Sprite i of the generated page: odd widths catch row-length mistakes.
QRect SpriteRect(int i) {
    return {(i % 8) * 32, (i / 8) * 32, 9 + (i % 5) * 4, 8 + (i % 3) * 8};
}

class OpenSwd : public WindowTest {
protected:
    OpenSwd() : page(fixtures::MakeTexture(256, 256, 7)) {}

    // Objects 460 with 6 sprites, 463 with 34, 464 with 1 and 494 with a count stored as +2;
    // `firstRuns` leaves only the first runs, 460 with 4 and 463 with none.
    std::vector<std::uint8_t> Generated(bool firstRuns = false) const {
        fixtures::SwdBuilder b;
        for (int i = 0; i < (firstRuns ? 4 : 43); ++i) {
            const QRect r = SpriteRect(i);
            b.Entry(static_cast<std::uint8_t>(r.x()), static_cast<std::uint8_t>(r.y()), 0,
                    r.width(), r.height());
        }
        b.Page(page);
        if (firstRuns) {
            return b.Sequence(460, -4, 0).Sequence(463, 0, 4).Build();
        }
        return b.Sequence(460, -6, 0)
            .Sequence(463, -34, 6)
            .Sequence(464, -1, 40)
            .Sequence(494, 2, 41)
            .Build();
    }

    QImage Expected(int i) const { return ReferenceImage(page).copy(SpriteRect(i)); }

    TexturePage page;
};

} // namespace

TEST_F(OpenSwd, ListsPreviewPathAndDescriptionsFollowTheSelection) {
    const QString file = Write("gen.swd", Generated());
    OpenThroughDialog(file);
    EXPECT_EQ(path->text(), file);
    EXPECT_EQ(ObjectLines(),
              (QStringList{"460: SKY_GRAPHICS  Textures=6", "463: DEFAULT_SPRITES  Textures=34",
                           "464: MISC_SPRITES  Textures=1", "494: CUSTOM_SPRITES  Textures=2"}));
    QStringList lines;
    for (int k = 0; k < 6; ++k) {
        lines << QString("Texture %1 :  (%2 x %3)")
                     .arg(k)
                     .arg(SpriteRect(k).width())
                     .arg(SpriteRect(k).height());
    }
    EXPECT_EQ(SpriteLines(), lines);
    EXPECT_EQ(objects->currentIndex() + sprites->currentIndex(), 0);
    EXPECT_EQ(preview->geometry(), QRect(dlg.PreviewOrigin(), QSize(9, 8)));
    // On screen the texture sits in the frame's top-left corner on the darker field.
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(dlg.PreviewOrigin() + QPoint(8, 7)), Expected(0).pixel(8, 7));
    EXPECT_EQ(QColor(shot.pixel(dlg.PreviewOrigin() + QPoint(9, 0))), FieldColour(dlg));

    const struct {
        int object, line, sprite;
        QString info;
    } views[] = {
        {0, 0, 0, "00 - Clouds - Part 1"},
        {0, 3, 3, "03 - Clouds - Part 4"},
        {0, 5, 5, ""},
        {1, 0, 6, "00 - Flame Emmiter / Underwater Blood / Waterfall Mist"},
        {1, 10, 16,
         "10 - (Top Left Corner) PS1 Sprite: Footprint\n"
         ".... - (Bottom Right Corner) Snow / Underwater Dust"},
        {1, 32, 38, "32 - Lensflare - Part 4 (Bright Spark)"},
        {1, 33, 39, ""},
        {2, 0, 40, ""}, // MISC_SPRITES has no descriptions
        {3, 1, 42, ""},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(v.sprite);
        Select(objects, v.object);
        if (v.line == 0) {
            EXPECT_EQ(sprites->currentIndex(), 0) << "a new object shows its first texture";
        }
        Select(sprites, v.line);
        EXPECT_EQ(info->toPlainText(), v.info);
        EXPECT_EQ(PreviewImage(), Expected(v.sprite));
    }
    EXPECT_EQ(SpriteLines().size(), 2) << "a positive count lists the same";
}

TEST_F(OpenSwd, RefusedFilesAndACancelledDialogChangeNothing) {
    OpenThroughDialog(Write("gen.swd", Generated()));
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
        EXPECT_TRUE(Take() == before) << file.toStdString();
    }
    WhenModal<QFileDialog>([](QFileDialog* fd) { fd->reject(); });
    Press("Open SWD");
    EXPECT_TRUE(Take() == before);
}

TEST_F(OpenSwd, ZeroCountWadIsRecoveredOnlyOnYes) {
    auto zero = fixtures::SmallWad().Build();
    std::fill(zero.begin() + 4, zero.begin() + 8, 0);
    const QString other = Write("other.swd", Generated(true));
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        ASSERT_TRUE(dlg.OpenSwdFile(other));
        const Shown before = Take();
        QString question;
        AnswerMessage(&question, button);
        EXPECT_EQ(dlg.OpenSwdFile(Write("zero.swd", zero)), button == QMessageBox::Yes);
        EXPECT_EQ(question,
                  "This sprite wad says it holds no sprites, but 5 sprites follow. Recover them?");
        if (button == QMessageBox::No) {
            EXPECT_TRUE(Take() == before);
            continue;
        }
        EXPECT_EQ(path->text(), "");
        EXPECT_EQ(ObjectLines(),
                  (QStringList{"463: DEFAULT_SPRITES  Textures=3", "460: SKY_GRAPHICS  Textures=2",
                               "494: CUSTOM_SPRITES  Textures=0"}));
        EXPECT_EQ(dlg.Document().TextureCount(), 5u);
    }
}

TEST_F(OpenSwd, EmptyObjectsEachOpenAndCloseReplaceWhatIsShown) {
    // An object without textures keeps the preview and Info pane of the last one shown.
    OpenThroughDialog(Write("runs.swd", Generated(true)));
    Select(sprites, 2);
    Select(objects, 1);
    EXPECT_EQ(ObjectLines()[1], "463: DEFAULT_SPRITES  Textures=0");
    EXPECT_EQ(sprites->count(), 0);
    EXPECT_EQ(PreviewImage(), Expected(2));
    EXPECT_EQ(info->toPlainText(), "02 - Clouds - Part 3");

    // Close SWD empties all but the Info pane.
    Press("Close SWD");
    EXPECT_TRUE(path->text().isEmpty() && preview->pixmap().isNull());
    EXPECT_EQ(objects->count() + sprites->count(), 0);
    EXPECT_EQ(dlg.Document().ObjectCount() + dlg.Document().TextureCount(), 0u);
    EXPECT_EQ(info->toPlainText(), "02 - Clouds - Part 3");
    EXPECT_EQ(QColor(dlg.grab().toImage().pixel(dlg.PreviewOrigin())), FieldColour(dlg));

    // A first object without textures shows nothing; an empty wad leaves nothing on show.
    fixtures::SwdBuilder firstEmpty;
    firstEmpty.Entry(0, 0, 0, 8, 8).Page(page).Sequence(463, 0, 0).Sequence(464, -1, 0);
    OpenThroughDialog(Write("first-empty.swd", firstEmpty.Build()));
    EXPECT_EQ(ObjectLines(),
              (QStringList{"463: DEFAULT_SPRITES  Textures=0", "464: MISC_SPRITES  Textures=1"}));
    EXPECT_EQ(sprites->count(), 0);
    EXPECT_TRUE(preview->pixmap().isNull());
    const QString empty = Write("empty.swd", fixtures::SwdBuilder().Build());
    OpenThroughDialog(empty);
    EXPECT_EQ(path->text(), empty);
    EXPECT_EQ(objects->count() + sprites->count(), 0);
    EXPECT_EQ(dlg.Document().TextureCount(), 0u);
}
