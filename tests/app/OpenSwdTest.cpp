// Open SWD and Close SWD through the real window, file dialog and message boxes.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "support/Fixtures.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

using apptest::ReferenceImage;
using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

struct Rect {
    int x, y, w, h;
};

// Sprite i of the generated page: odd widths catch row-length mistakes.
Rect SpriteRect(int i) {
    return {(i % 8) * 32, (i / 8) * 32, 9 + (i % 5) * 4, 8 + (i % 3) * 8};
}

// Objects: 460 with 6 sprites, 463 with 34, 464 with 1, 494 with a count stored as +2.
constexpr int kSpriteCount = 43;

class OpenSwd : public ::testing::Test {
protected:
    OpenSwd() : page(fixtures::MakeTexture(256, 256, 7)), w(dlg) {}

    QString Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        fixtures::WriteFileBytes(dir / name, bytes);
        return QString::fromStdString((dir / name).string());
    }

    fixtures::SwdBuilder Generated() const {
        fixtures::SwdBuilder b;
        for (int i = 0; i < kSpriteCount; ++i) {
            const Rect r = SpriteRect(i);
            b.Entry(static_cast<std::uint8_t>(r.x), static_cast<std::uint8_t>(r.y), 0, r.w, r.h);
        }
        b.Page(page);
        b.Sequence(460, -6, 0).Sequence(463, -34, 6).Sequence(464, -1, 40).Sequence(494, 2, 41);
        return b;
    }

    // Sprite i cut from the page by hand.
    QImage Expected(int i) const {
        const Rect r = SpriteRect(i);
        return ReferenceImage(page).copy(r.x, r.y, r.w, r.h);
    }

    // Runs `open` and answers the one message box it shows; returns the box's text.
    template <class F> QString MessageFrom(F open) {
        QString text;
        WhenModal<QMessageBox>([&text](QMessageBox* box) {
            text = box->text();
            EXPECT_EQ(box->windowTitle(), "Vornix");
            box->button(QMessageBox::Ok)->click();
        });
        open();
        return text;
    }

    fixtures::TempDir dir;
    TexturePage page;
    CMainDlg dlg;
    WindowProbe w;
};

// Everything the window shows, to prove a refused file changed nothing.
struct Snapshot {
    QStringList objects, sprites;
    int object, sprite;
    QString path, info;
    QImage preview;
    std::size_t textures;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const WindowProbe& w) {
    return {w.ObjectLines(),
            w.SpriteLines(),
            w.objects->currentIndex(),
            w.sprites->currentIndex(),
            w.path->text(),
            w.info->toPlainText(),
            w.PreviewImage(),
            w.dlg.Document().TextureCount()};
}

} // namespace

TEST_F(OpenSwd, GeneratedFileFillsListsPreviewPathAndInfo) {
    const QString file = Write("gen.swd", Generated().Build());
    w.OpenThroughDialog(file);

    EXPECT_EQ(w.path->text(), file);
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"460: SKY_GRAPHICS  Textures=6", "463: DEFAULT_SPRITES  Textures=34",
                           "464: MISC_SPRITES  Textures=1", "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(w.objects->currentIndex(), 0);
    QStringList sprites;
    for (int k = 0; k < 6; ++k) {
        const Rect r = SpriteRect(k);
        sprites.append(QString("Texture %1 :  (%2 x %3)").arg(k).arg(r.w).arg(r.h));
    }
    EXPECT_EQ(w.SpriteLines(), sprites);
    EXPECT_EQ(w.sprites->currentIndex(), 0);
    EXPECT_EQ(w.PreviewImage(), Expected(0));
    EXPECT_EQ(w.preview->geometry(), QRect(dlg.PreviewOrigin(), QSize(9, 8)));
    EXPECT_EQ(w.info->toPlainText(), "00 - Clouds - Part 1");
    EXPECT_EQ(dlg.Document().TextureCount(), std::size_t{kSpriteCount});

    // On screen the texture sits in the frame's top-left corner on the darker field.
    const QImage shot = dlg.grab().toImage();
    const QPoint o = dlg.PreviewOrigin();
    EXPECT_EQ(shot.pixel(o), Expected(0).pixel(0, 0));
    EXPECT_EQ(shot.pixel(o + QPoint(8, 7)), Expected(0).pixel(8, 7));
    EXPECT_EQ(QColor(shot.pixel(o + QPoint(9, 0))), apptest::FieldColour(dlg));
}

TEST_F(OpenSwd, SelectionDrivesSpritesPreviewAndDescriptions) {
    w.OpenThroughDialog(Write("gen.swd", Generated().Build()));

    const QStringList clouds = {"00 - Clouds - Part 1",
                                "01 - Clouds - Part 2",
                                "02 - Clouds - Part 3",
                                "03 - Clouds - Part 4",
                                "",
                                ""};
    for (int k = 0; k < 6; ++k) {
        w.Select(w.sprites, k);
        EXPECT_EQ(w.info->toPlainText(), clouds[k]) << k;
        EXPECT_EQ(w.PreviewImage(), Expected(k)) << k;
    }

    w.Select(w.objects, 1);
    EXPECT_EQ(w.SpriteLines().size(), 34);
    EXPECT_EQ(w.sprites->currentIndex(), 0);
    EXPECT_EQ(w.info->toPlainText(), "00 - Flame Emmiter / Underwater Blood / Waterfall Mist");
    EXPECT_EQ(w.PreviewImage(), Expected(6));
    const std::map<int, QString> defaults = {
        {10, "10 - (Top Left Corner) PS1 Sprite: Footprint\n"
             ".... - (Bottom Right Corner) Snow / Underwater Dust"},
        {32, "32 - Lensflare - Part 4 (Bright Spark)"},
        {33, ""},
    };
    for (const auto& [k, text] : defaults) {
        w.Select(w.sprites, k);
        EXPECT_EQ(w.info->toPlainText(), text) << k;
        EXPECT_EQ(w.PreviewImage(), Expected(6 + k)) << k;
    }
    EXPECT_EQ(w.info->document()->blockCount(), 1);
    w.Select(w.sprites, 10);
    EXPECT_EQ(w.info->document()->blockCount(), 2) << "id 24 fills two lines";

    w.Select(w.objects, 2);
    EXPECT_EQ(w.SpriteLines(), QStringList{"Texture 0 :  (9 x 16)"});
    EXPECT_EQ(w.info->toPlainText(), "") << "MISC_SPRITES has no descriptions";
    EXPECT_EQ(w.PreviewImage(), Expected(40));

    w.Select(w.objects, 3);
    EXPECT_EQ(w.SpriteLines().size(), 2) << "a positive count lists the same";
    w.Select(w.sprites, 1);
    EXPECT_EQ(w.PreviewImage(), Expected(42));
    EXPECT_EQ(w.info->toPlainText(), "");
}

TEST_F(OpenSwd, RefusedFilesAndACancelledDialogLeaveTheEarlierDocumentAsItWas) {
    w.OpenThroughDialog(Write("gen.swd", Generated().Build()));
    w.Select(w.objects, 1);
    w.Select(w.sprites, 10);
    const Snapshot before = Take(w);

    const QString old = Write("old.swd", Generated().Version(128).Build());
    EXPECT_EQ(MessageFrom([&] { w.OpenThroughDialog(old); }),
              "This file isn't a Tomb Raider Sprite Wad file or it's a different version or type "
              "of file...");
    EXPECT_TRUE(Take(w) == before);

    std::vector<std::uint8_t> bytes = Generated().Build();
    bytes.resize(bytes.size() / 2);
    const QString cut = Write("cut.swd", bytes);
    EXPECT_TRUE(
        MessageFrom([&] { w.OpenThroughDialog(cut); }).startsWith("This sprite wad is damaged"));
    EXPECT_TRUE(Take(w) == before);

    const QString missing = QString::fromStdString((dir / "missing.swd").string());
    const QString text = MessageFrom([&] { EXPECT_FALSE(dlg.OpenSwdFile(missing)); });
    EXPECT_TRUE(text.contains(missing)) << text.toStdString();
    EXPECT_TRUE(text.contains("No such file or directory")) << text.toStdString();
    EXPECT_TRUE(Take(w) == before);

    WhenModal<QFileDialog>([](QFileDialog* fd) { fd->reject(); });
    QTest::mouseClick(w.Button("Open SWD"), Qt::LeftButton);
    EXPECT_TRUE(Take(w) == before) << "a cancelled file dialog changes nothing";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OpenSwd, ObjectWithoutTexturesKeepsPreviewAndInfo) {
    fixtures::SwdBuilder b;
    for (int i = 0; i < 4; ++i) {
        const Rect r = SpriteRect(i);
        b.Entry(static_cast<std::uint8_t>(r.x), static_cast<std::uint8_t>(r.y), 0, r.w, r.h);
    }
    b.Page(page).Sequence(460, -4, 0).Sequence(463, 0, 4);
    w.OpenThroughDialog(Write("empty463.swd", b.Build()));
    w.Select(w.sprites, 2);
    EXPECT_EQ(w.info->toPlainText(), "02 - Clouds - Part 3");

    w.Select(w.objects, 1);
    EXPECT_EQ(w.ObjectLines()[1], "463: DEFAULT_SPRITES  Textures=0");
    EXPECT_EQ(w.sprites->count(), 0);
    EXPECT_EQ(w.PreviewImage(), Expected(2));
    EXPECT_EQ(w.info->toPlainText(), "02 - Clouds - Part 3");
}

TEST_F(OpenSwd, CloseSwdEmptiesDocumentListsPathAndPreviewButNotInfo) {
    QTest::mouseClick(w.Button("Close SWD"), Qt::LeftButton);
    EXPECT_TRUE(w.path->text().isEmpty());
    EXPECT_EQ(w.objects->count(), 0);

    w.OpenThroughDialog(Write("gen.swd", Generated().Build()));
    w.Select(w.sprites, 1);
    QTest::mouseClick(w.Button("Close SWD"), Qt::LeftButton);
    EXPECT_TRUE(w.path->text().isEmpty());
    EXPECT_EQ(w.objects->count(), 0);
    EXPECT_EQ(w.sprites->count(), 0);
    EXPECT_TRUE(w.preview->pixmap().isNull());
    EXPECT_EQ(dlg.Document().ObjectCount(), 0u);
    EXPECT_EQ(dlg.Document().TextureCount(), 0u);
    EXPECT_EQ(w.info->toPlainText(), "01 - Clouds - Part 2");
    EXPECT_EQ(QColor(dlg.grab().toImage().pixel(dlg.PreviewOrigin())), apptest::FieldColour(dlg));
}

TEST_F(OpenSwd, EachOpenReplacesTheWholeDocument) {
    w.OpenThroughDialog(Write("gen.swd", Generated().Build()));

    fixtures::SwdBuilder second;
    second.Entry(0, 0, 0, 256, 256).Page(page).Sequence(464, -1, 0);
    const QString whole = Write("whole.swd", second.Build());
    w.OpenThroughDialog(whole);
    EXPECT_EQ(w.path->text(), whole);
    EXPECT_EQ(w.ObjectLines(), QStringList{"464: MISC_SPRITES  Textures=1"});
    EXPECT_EQ(w.SpriteLines(), QStringList{"Texture 0 :  (256 x 256)"});
    EXPECT_EQ(w.PreviewImage(), ReferenceImage(page)) << "a whole page fills the frame";
    EXPECT_EQ(dlg.Document().TextureCount(), 1u);
    EXPECT_EQ(w.info->toPlainText(), "");

    // A first object without textures shows no sprite, preview or description.
    w.OpenThroughDialog(Write("gen.swd", Generated().Build()));
    fixtures::SwdBuilder firstEmpty;
    firstEmpty.Entry(0, 0, 0, 8, 8).Page(page).Sequence(463, 0, 0).Sequence(464, -1, 0);
    w.OpenThroughDialog(Write("first-empty.swd", firstEmpty.Build()));
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"463: DEFAULT_SPRITES  Textures=0", "464: MISC_SPRITES  Textures=1"}));
    EXPECT_EQ(w.sprites->count(), 0);
    EXPECT_TRUE(w.preview->pixmap().isNull());
    EXPECT_EQ(w.info->toPlainText(), "");

    // An empty wad leaves nothing of the previous file on show.
    const QString empty = Write("empty.swd", fixtures::SwdBuilder().Build());
    w.OpenThroughDialog(empty);
    EXPECT_EQ(w.path->text(), empty);
    EXPECT_EQ(w.objects->count(), 0);
    EXPECT_EQ(w.sprites->count(), 0);
    EXPECT_TRUE(w.preview->pixmap().isNull());
    EXPECT_EQ(dlg.Document().TextureCount(), 0u);
}
