// The window's file dialogs: the export suffix, refused folders and the folder each kind of file
// was last used in.
#include "WindowTest.h"
#include "app/CJpegOptionsDlg.h"
#include "app/CSplitOptionsDlg.h"
#include "app/CTgaOptionsDlg.h"

using namespace apptest;

namespace {

// A wad without empty objects, so that Save As SWD goes on to its dialog.
class FileDialogs : public WindowTest {
protected:
    FileDialogs() { OpenSet(fixtures::GeneratedSet(40, 32, 5)); }

    // Answers the option dialog an export in this filter opens, if any.
    static void AnswerExportOptions(int filter) {
        if (filter == 4) {
            WhenModal<CTgaOptionsDlg>([](CTgaOptionsDlg* d) { Click(d, "OK"); });
        } else if (filter == 6) {
            WhenModal<CJpegOptionsDlg>([](CJpegOptionsDlg* d) { Click(d, "OK"); });
        }
    }
    QString Folder(const std::string& name) const {
        std::filesystem::create_directories(dir / name);
        return Path(name);
    }
};

// A name typed without an extension gets the extension of the filter chosen, the filter the
// dialog opened on included; the format is the filter's whatever the name.
TEST_F(FileDialogs, ExportNameWithoutExtensionGetsTheFiltersOwn) {
    const struct {
        int filter; // 0: the one the dialog opens on, the last one used
        const char* name;
        const char* written;
    } rows[] = {
        {3, "a", "a.png"}, {1, "b", "b.bmp"}, {2, "c", "c.pcx"},
        {4, "d", "d.tga"}, {5, "e", "e.tif"}, {6, "f", "f.jpg"},
        {7, "g", "g.raw"}, {0, "h", "h.raw"}, {3, "i.bmp", "i.bmp"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.written);
        AnswerExportOptions(row.filter == 0 ? 7 : row.filter);
        AnswerFileDialog(Path(row.name), row.filter);
        Press("Export Texture");
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / row.written));
    }
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "i.bmp").at(1), 'P') << "PNG data, as chosen";
    EXPECT_EQ(fixtures::Tree(dir.path()).size(), std::size(rows) + 1) << "and target.swd";
}

// Export Texture, Export Object and Save As SWD refuse a name in a folder that does not exist,
// say so and open again on that name; the next name is taken.
TEST_F(FileDialogs, ANameInAMissingFolderIsRefusedAndTheDialogOpensAgain) {
    const struct {
        const char* button;
        const char* name;
    } rows[] = {{"Export Texture", "t.bmp"}, {"Export Object", "o.swo"}, {"Save As SWD", "w.swd"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        QString message;
        QString offeredAgain;
        AnswerFileDialog(Path("missing/" + std::string(row.name)));
        AnswerMessage(&message, QMessageBox::Ok, [&] {
            AnswerFileDialog(Path(row.name), 0, [&offeredAgain](QFileDialog* fd) {
                offeredAgain = fd->findChild<QLineEdit*>("fileNameEdit")->text();
            });
        });
        Press(row.button);
        WaitForJobs();
        EXPECT_EQ(message, Path("missing") + "\nThe folder does not exist.");
        EXPECT_TRUE(offeredAgain.endsWith(row.name)) << offeredAgain.toStdString();
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / row.name));
        EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    }
}

// Wads, images, exports and objects each have a folder of their own: the one where a file of
// that kind was last opened or saved.
TEST_F(FileDialogs, EachKindOfFileOpensWhereItWasLastUsed) {
    const QString wads = Folder("wads");
    const QString images = Folder("images");
    const QString exports = Folder("exports");
    const QString swoFolder = Folder("objects");
    const auto opensIn = [this](const QString& button, const QString& folder) {
        SCOPED_TRACE(button.toStdString());
        QString opened;
        WhenModal<QFileDialog>([&opened](QFileDialog* fd) {
            opened = fd->directory().absolutePath();
            fd->reject();
        });
        Press(button);
        EXPECT_EQ(opened, folder);
    };
    std::filesystem::copy_file(dir / "target.swd", dir / "wads" / "w.swd");
    AnswerFileDialog(wads + "/w.swd");
    Press("Open SWD");
    AnswerFileDialog(exports + "/t.bmp", 1);
    Press("Export Texture");
    AnswerFileDialog(swoFolder + "/o.swo");
    Press("Export Object");
    // Open SWD first: the edit below would make it ask about unsaved edits.
    opensIn("Open SWD", wads);
    AnswerFileDialog(WriteImage("images/p.png", fixtures::MakeTexture(8, 8, 1)));
    Press("Import Texture");

    opensIn("Import Texture", images);
    opensIn("Add Texture", images);
    opensIn("Add Split Texture", images);
    opensIn("Export Texture", exports);
    opensIn("Export Object", swoFolder);
    opensIn("Import Object", swoFolder);
    // Save As SWD offers the open wad's own name, in its folder.
    opensIn("Save As SWD", wads);
}

} // namespace
