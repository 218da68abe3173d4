// The choices and folders the window keeps from one run to the next, and what a new user or a
// damaged settings file gets.
#include "WindowTest.h"
#include "app/AppSettings.h"
#include "app/CJpegOptionsDlg.h"
#include "app/QtImage.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"

#include <fstream>

using namespace apptest;

void PrintTo(const RememberedChoices& c, std::ostream* out) {
    *out << c.imageFilterIndex << ' ' << c.exportFilterIndex << ' ' << int{c.jpegQuality} << ' '
         << c.tgaRle << ' ' << c.splitWidth << 'x' << c.splitHeight << ' ' << c.splitSizeChoice
         << ' ' << c.splitPiecePolicy << ' ' << c.resizeFilter << ' ' << c.resizeKeepAspect << ' '
         << c.magentaTransparent << ' ' << c.previewZoom << ' ' << c.framesPerSecond;
}

namespace {

// What a user who has never run the program finds, and every choice away from it: image and
// export filters, JPEG quality, TGA RLE, split width, height, size choice and policy, resize
// filter and aspect, magenta as transparent, the preview's zoom and the frames per second.
const RememberedChoices kNewUser = {1, 1, 100, 0, 128, 128, 2, 0, 0, 1, false, 1, 15};
const RememberedChoices kChanged = {7, 6, 0, 1, 256, 1, 4, 1, 1, 0, true, kZoomToFit, 60};

const FileKind kKinds[] = {FileKind::Wads, FileKind::Images, FileKind::Exports, FileKind::Objects};

class Settings : public ::testing::Test {
protected:
    // A wad of one magenta texture, which the preview shows as it is or as a checkerboard.
    Settings() {
        SpriteWad set;
        set.AddObject(464);
        BTCImageData magenta;
        magenta.Create(4, 4);
        magenta.Fill(0, 0, 4, 4, 0xFF00FF);
        set.AddTexture(0, std::move(magenta));
        EXPECT_TRUE(PackTextures(set).ok());
        EXPECT_TRUE(swd::WriteSwdFile((dir / "magenta.swd").string(), set).ok());
    }

    // The choices a new window starts with.
    RememberedChoices WindowChoices() const {
        CMainDlg window;
        EXPECT_TRUE(window.OpenSwdFile(QString::fromStdString((dir / "magenta.swd").string())));
        const QImage preview = window.findChild<QLabel*>("preview")->pixmap().toImage();
        RememberedChoices choices = window.m_choices;
        choices.magentaTransparent = preview.pixelColor(0, 0) != QColor(255, 0, 255);
        // The 4 x 4 texture fits the frame 64 times over.
        choices.previewZoom = preview.width() / 4 == 64 ? kZoomToFit : preview.width() / 4;
        return choices;
    }

    static QString File() { return AppSettings().FileName(); }
    static void WriteFile(const std::string& text) {
        QDir().mkpath(QFileInfo(File()).absolutePath());
        std::ofstream(File().toStdString(), std::ios::binary | std::ios::trunc) << text;
    }

    FreshSettings fresh;
    fixtures::TempDir dir;
};

// What the window was left with comes back in the next window: through the dialogs for the
// export choices and folder, and every other kept choice as the settings file holds it.
TEST_F(Settings, ChoicesAndFoldersSurviveARestartOfTheWindow) {
    const QString exports = QString::fromStdString((dir / "exports").string());
    QDir().mkpath(exports);
    {
        CMainDlg window;
        ASSERT_TRUE(window.OpenSwdFile(QString::fromStdString((dir / "magenta.swd").string())));
        WhenModal<CJpegOptionsDlg>([](CJpegOptionsDlg* jpeg) {
            Type(Field(jpeg, "quality"), "37");
            Click(jpeg, "OK");
        });
        AnswerFileDialog(exports + "/t", 6);
        Click(&window, "Export Texture");
    }
    CMainDlg next;
    EXPECT_EQ(std::pair(next.m_choices.exportFilterIndex, int{next.m_choices.jpegQuality}),
              std::pair(6, 37));
    const std::vector<std::uint8_t> file = fixtures::ReadFileBytes(File().toStdString());
    EXPECT_NE(std::string(file.begin(), file.end()).find("jpegQuality=37"), std::string::npos)
        << "kept on disk, not only in this process";

    AppSettings().SetChoices(kChanged);
    EXPECT_EQ(WindowChoices(), kChanged);
}

// A missing file, a damaged one and values that cannot be right all give what a new user gets;
// the first change then writes a good file.
TEST_F(Settings, MissingOrDamagedFileGivesTheDefaults) {
    const struct {
        const char* name;
        std::function<void()> make;
        bool writable;
    } rows[] = {
        {"missing", [] {}, true},
        {"out of range",
         [] {
             WriteFile("[images]\nfilter=8\n[export]\nfilter=0\njpegQuality=101\ntgaRle=2\n"
                       "[split]\nwidth=257\nheight=0\nsizeChoice=5\npiecePolicy=-1\n"
                       "[resize]\nfilter=2\nkeepAspect=-1\n[preview]\nmagentaTransparent=2\n"
                       "zoom=3\nframesPerSecond=61\n");
         },
         true},
        {"out of range the other way",
         [] {
             WriteFile("[images]\nfilter=0\n[export]\nfilter=8\njpegQuality=-1\ntgaRle=-1\n"
                       "[split]\nwidth=0\nheight=257\nsizeChoice=-1\npiecePolicy=2\n"
                       "[resize]\nfilter=-1\nkeepAspect=2\n[preview]\nmagentaTransparent=-1\n"
                       "zoom=-1\n");
         },
         true},
        {"not whole numbers",
         [] {
             WriteFile("[images]\nfilter=two\n[export]\nfilter=1.5\njpegQuality=\ntgaRle=true\n"
                       "[split]\nwidth=12px\nheight=0x10\nsizeChoice=@Invalid()\npiecePolicy= \n"
                       "[resize]\nfilter=99999999999999999999\nkeepAspect=1,1\n"
                       "[preview]\nmagentaTransparent=yes\nzoom=2x\nframesPerSecond=0\n");
         },
         true},
        {"folders that are gone",
         [this] {
             WriteFile("[folders]\nwads=" + (dir / "gone").string() +
                       "\nimages=\nexports=" + (dir / "magenta.swd").string() + "\n");
         },
         true},
        {"a folder in its place", [] { QDir().mkpath(File()); }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(File());
        QDir().rmdir(File());
        row.make();
        EXPECT_EQ(WindowChoices(), kNewUser);
        for (const FileKind kind : kKinds) {
            EXPECT_EQ(AppSettings().Folder(kind), "");
        }
        AppSettings().SetChoices(kChanged);
        AppSettings().SetFolderOf(FileKind::Images,
                                  QString::fromStdString((dir / "x.png").string()));
        EXPECT_EQ(AppSettings().Choices(), row.writable ? kChanged : kNewUser);
        EXPECT_EQ(AppSettings().Folder(FileKind::Images).toStdString(),
                  row.writable ? dir.path().string() : "");
    }
    QDir().rmdir(File());
}

} // namespace
