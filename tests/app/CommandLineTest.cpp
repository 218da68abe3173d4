// The editor's command line: options answered before any window exists, and files opened in
// the real window as a drop of them opens them.
#include "VornixVersion.h"
#include "WindowTest.h"
#include "app/CMainApp.h"
#include "app/EditorCommandLine.h"

#include <QProcess>

using namespace apptest;

namespace {

// Run as a user would, with no display and no platform chosen: a QApplication made before the
// options are answered would abort for want of a display.
TEST(EditorCommandLine, OptionsAreAnsweredWithoutADisplay) {
    const struct {
        QStringList args;
        int status;
        QString out, errStart;
    } cases[] = {
        {{"--help"}, 0, ParseEditorCommandLine({"vornix", "--help"}).text, {}},
        {{"-v"}, 0, QStringLiteral("vornix ") + kVornixVersion + '\n', {}},
        {{"--version", "a.swd"}, 0, QStringLiteral("vornix ") + kVornixVersion + '\n', {}},
        {{"a.swd", "--frobnicate"}, 2, {}, "vornix: Unknown option 'frobnicate'.\nUsage: vornix "},
    };
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        noDisplay.remove(QString::fromLatin1(name));
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess vornix;
        vornix.setProcessEnvironment(noDisplay);
        vornix.start(QStringLiteral(VORNIX_APP), c.args);
        ASSERT_TRUE(vornix.waitForFinished(10000));
        EXPECT_EQ(vornix.exitCode(), c.status);
        EXPECT_EQ(QString::fromLocal8Bit(vornix.readAllStandardOutput()), c.out);
        EXPECT_TRUE(QString::fromLocal8Bit(vornix.readAllStandardError()).startsWith(c.errStart));
    }
    EXPECT_TRUE(ParseEditorCommandLine({"vornix", "--help"}).text.startsWith("Usage: vornix "));
    const EditorCommandLine files = ParseEditorCommandLine({"vornix", "b.swd", "--", "-c.png"});
    EXPECT_EQ(files.files, (QStringList{"b.swd", "-c.png"}));
    EXPECT_FALSE(files.exitStatus.has_value());
}

class OpenFromCommandLine : public WindowTest {};

// SmallWad's objects: 463 (3 textures), 460 (2), 494 (none).
TEST_F(OpenFromCommandLine, FilesOpenInOrderAndRefusalsLeaveNoWad) {
    const QString wad = Write("small.swd", fixtures::SmallWad().Build());
    const QString swo = WriteSwo();
    const QString a = WriteImage("a.png", fixtures::MakeTexture(3, 4, 61));
    const QString b = WriteImage("b.png", fixtures::MakeTexture(5, 6, 62));
    const struct {
        const char* name;
        QStringList files;
        QStringList objects;
        QString path;
        // Part of the one message expected; none when empty.
        QString message;
    } cases[] = {
        {"a wad",
         {wad},
         {"463: DEFAULT_SPRITES  Textures=3", "460: SKY_GRAPHICS  Textures=2",
          "494: CUSTOM_SPRITES  Textures=0"},
         QDir::toNativeSeparators(wad),
         {}},
        {"an object alone", {swo}, {"460: SKY_GRAPHICS  Textures=1"}, {}, {}},
        {"an image alone", {a}, {}, {}, "a.png"},
        {"a wad, an object into it and images into that object",
         {wad, swo, a, b},
         {"463: DEFAULT_SPRITES  Textures=3", "460: SKY_GRAPHICS  Textures=5",
          "494: CUSTOM_SPRITES  Textures=0"},
         QDir::toNativeSeparators(wad),
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMainDlg window;
        QString message;
        if (!c.message.isEmpty()) {
            AnswerMessage(&message);
        }
        window.OpenFiles(c.files);
        EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        const auto* list = window.findChild<QComboBox*>("objects");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(Lines(list), c.objects);
        EXPECT_EQ(window.findChild<QLineEdit*>("path")->text(), c.path);
    }
}

// The program's own start: the window opens the files once it shows.
TEST(EditorStart, TheWindowOpensTheFilesItIsGiven) {
    fixtures::TempDir dir;
    const std::string wad = (dir / "small.swd").string();
    fixtures::WriteFileBytes(wad, fixtures::SmallWad().Build());
    const std::string image = (dir / "a.png").string();
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(3, 4, 61), image, ImageFormat::Png));
    QStringList lines;
    WhenShown<CMainDlg>(
        [] {
            auto* window = dynamic_cast<CMainDlg*>(QApplication::activeModalWidget());
            return window != nullptr && window->Wad().m_textures.size() == 6 ? window : nullptr;
        },
        [&lines](CMainDlg* window) {
            lines = Lines(window->findChild<QComboBox*>("sprites"));
            window->done(QDialog::Rejected);
        },
        "window holding the files");
    CMainApp app;
    EXPECT_EQ(app.InitInstance({QString::fromStdString(wad), QString::fromStdString(image)}), 0);
    EXPECT_EQ(lines.value(3), "Texture 3 :  (3 x 4)") << lines.join('|').toStdString();
}

} // namespace
