// Import, Add, Delete and Export Texture and the clipboard, through the real window and
// its dialogs.
#include "WindowTest.h"
#include "app/CJpegOptionsDlg.h"
#include "app/CTgaOptionsDlg.h"
#include "images/BTCImageObject.h"
#include "images/TextureExport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QSlider>
#include <QTest>

using namespace apptest;

namespace {

const QStringList kImageFilters = {"All Supported Images",
                                   "BMP (*.bmp)",
                                   "PCX (*.pcx)",
                                   "PNG (*.png)",
                                   "TGA (*.tga)",
                                   "TIFF (*.tif, *.tiff)",
                                   "JPEG (*.jpg, *.jpe, *.jpeg, *.jfif)"};
const QStringList kExportFilters = kImageFilters.mid(1) + QStringList{"RAW (*.raw)"};

QStringList ShownFilters(QFileDialog* fd) {
    QStringList shown;
    auto* combo = fd->findChild<QComboBox*>("fileTypeCombo");
    for (int i = 0; combo != nullptr && i < combo->count(); ++i) {
        shown << combo->itemText(i);
    }
    return shown;
}

// SmallWad: 463 owns textures 2..4 (56x56, 1x1, 256x3), 460 owns 0..1 (64x64, 32x16), 494 is
// empty at 5.
class TextureCommands : public WindowTest {
protected:
    TextureCommands() { Open(fixtures::SmallWad().Build()); }
    ~TextureCommands() override { QGuiApplication::clipboard()->clear(); }

    // Exports the current texture through the dialog with this filter.
    void Export(const std::string& name, int filter) {
        AnswerFileDialog(Path(name), filter);
        Press("Export Texture");
    }
    const SpriteWad& Wad() const { return dlg.Document(); }
};

TEST_F(TextureCommands, ImportReplacesInPlaceAndExportGivesThePixelsBack) {
    const BTCImageData picture = fixtures::MakeTexture(200, 99, 3);
    Select(sprites, 1);
    AnswerFileDialog(WriteImage("picture.png", picture, ExportFormat::Png), 0, [](QFileDialog* fd) {
        EXPECT_EQ(ShownFilters(fd), kImageFilters);
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(fd->selectedNameFilter(), kImageFilters[0]);
    });
    Press("Import Texture");
    EXPECT_EQ(SpriteLines(), (QStringList{"Texture 0 :  (56 x 56)", "Texture 1 :  (200 x 99)",
                                          "Texture 2 :  (256 x 3)"}));
    EXPECT_EQ(sprites->currentIndex(), 1);
    EXPECT_EQ(ObjectLines().at(0), "463: DEFAULT_SPRITES  Textures=3");
    EXPECT_EQ(PreviewImage(), ReferenceImage(picture));

    AnswerFileDialog(Path("back.png"), 3, [](QFileDialog* fd) {
        EXPECT_EQ(ShownFilters(fd), kExportFilters);
        EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(fd->defaultSuffix(), "bmp");
        EXPECT_EQ(fd->selectedNameFilter(), kExportFilters[0]);
        EXPECT_EQ(fd->findChild<QLineEdit*>("fileNameEdit")->text(), "Default_1");
    });
    Press("Export Texture");
    EXPECT_EQ(dlg.m_exportFilterIndex, 3);
    BTCImageObject back;
    ASSERT_TRUE(back.Load((dir / "back.png").string()));
    EXPECT_EQ(back.GetObjectData(), picture);
}

TEST_F(TextureCommands, AddFitsTheImageAndTheFilterIsRememberedEvenOnARefusal) {
    const QString file =
        WriteImage("wide.bmp", fixtures::MakeTexture(300, 200, 8), ExportFormat::Bmp);
    Select(objects, 1);
    AnswerFileDialog(file, 2);
    Press("Add Texture");
    EXPECT_EQ(ObjectLines().at(1), "460: SKY_GRAPHICS  Textures=3");
    EXPECT_EQ(objects->currentIndex(), 1);
    EXPECT_EQ(SpriteLines().back(), "Texture 2 :  (256 x 171)");
    EXPECT_EQ(sprites->currentIndex(), 2);
    EXPECT_EQ(PreviewImage().size(), QSize(256, 171));

    std::vector<std::uint8_t> cut = fixtures::ReadFileBytes(file.toStdString());
    cut.resize(cut.size() / 2);
    const QString bad = Write("cut.bmp", cut);
    const Shown before = Take();
    for (const char* button : {"Import Texture", "Add Texture"}) {
        QString text;
        // The dialog opens on the filter chosen last, in any command.
        AnswerFileDialog(
            bad, 4, [](QFileDialog* fd) { EXPECT_NE(fd->selectedNameFilter(), kImageFilters[0]); });
        AnswerMessage(&text);
        Press(button);
        EXPECT_EQ(text, "Failed To Load Image...") << button;
        EXPECT_TRUE(Take() == before);
    }
    EXPECT_EQ(dlg.m_imageFilterIndex, 4);
}

TEST_F(TextureCommands, DeleteSelectsThePreviousLine) {
    const struct {
        int select;
        QStringList lines;
        int selected;
    } steps[] = {{1, {"Texture 0 :  (56 x 56)", "Texture 1 :  (256 x 3)"}, 0},
                 {0, {"Texture 0 :  (256 x 3)"}, 0},
                 {0, {}, -1}};
    for (const auto& s : steps) {
        Select(sprites, s.select);
        Press("Delete Texture");
        EXPECT_EQ(SpriteLines(), s.lines);
        EXPECT_EQ(sprites->currentIndex(), s.selected);
        EXPECT_EQ(ObjectLines().at(0),
                  QString("463: DEFAULT_SPRITES  Textures=%1").arg(s.lines.size()));
    }
    EXPECT_EQ(Wad().TextureCount(), 2u);
}

// Nothing may open, change or show without the selection a command needs.
TEST_F(TextureCommands, CommandsWithoutTheirSelectionDoNothing) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto none = [this](std::initializer_list<const char*> buttons) {
        const Shown before = Take();
        for (const char* button : buttons) {
            EXPECT_EQ(ModalsDuring([&] { Press(button); }), 0) << button;
        }
        EXPECT_TRUE(Take() == before);
    };
    clipboard->setImage(ReferenceImage(fixtures::MakeTexture(8, 8, 1)));
    Select(objects, 2); // no textures
    none({"Export Texture", "Import Texture", "Delete Texture", "Copy Texture", "Paste Texture",
          "Resize Texture", "Resize Range"});
    clipboard->setText("no picture here");
    Select(objects, 0);
    none({"Paste Texture", "Paste As New"});
    dlg.OnCloseSwd();
    clipboard->setImage(ReferenceImage(fixtures::MakeTexture(8, 8, 1)));
    none({"Export Texture", "Import Texture", "Add Texture", "Add Split Texture", "Delete Texture",
          "Copy Texture", "Paste Texture", "Paste As New", "Resize Texture", "Resize Range"});
}

TEST_F(TextureCommands, CopyAndPasteKeepOddWidthsAndFitLargeImages) {
    Select(sprites, 2);
    const SpriteTexture copied = Wad().ObjectTexture(0, 2);
    Press("Copy Texture");
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              ReferenceImage(copied));
    Press("Paste As New");
    EXPECT_EQ(ObjectLines().at(0), "463: DEFAULT_SPRITES  Textures=4");
    EXPECT_EQ(SpriteLines().back(), "Texture 3 :  (256 x 3)");
    EXPECT_EQ(sprites->currentIndex(), 3);
    EXPECT_EQ(Wad().ObjectTexture(0, 3), copied);

    QImage large(512, 384, QImage::Format_ARGB32);
    large.fill(qRgba(10, 200, 30, 128));
    QGuiApplication::clipboard()->setImage(large);
    Select(sprites, 1);
    Press("Paste Texture");
    EXPECT_EQ(SpriteLines().at(1), "Texture 1 :  (256 x 192)");
    EXPECT_EQ(sprites->currentIndex(), 1);
    EXPECT_EQ(fixtures::PixelAt(Wad().ObjectTexture(0, 1), 100, 100),
              (std::array<std::uint8_t, 3>{30, 200, 10}));
    // Rows of 5 pixels are padded to 16 bytes in a QImage; ours are 15.
    const BTCImageData odd = fixtures::MakeTexture(5, 3, 12);
    QGuiApplication::clipboard()->setImage(ReferenceImage(odd));
    Press("Paste Texture");
    EXPECT_EQ(Wad().ObjectTexture(0, 1), odd);
}

TEST_F(TextureCommands, ExportOptionDialogsAreRememberedAndTheFilterDecidesTheFormat) {
    // JPEG: the trackbar and the field move each other; out of range is refused on OK and
    // Escape still exports; the next export opens on JPEG at the value last held.
    for (const QString start : {"100", "80"}) {
        const std::string name = start.toStdString() + ".jpg";
        AnswerFileDialog(Path(name), start == "100" ? 6 : 0, [start](QFileDialog* fd) {
            EXPECT_EQ(fd->selectedNameFilter(), kExportFilters[start == "100" ? 0 : 5]);
        });
        WhenModal<CJpegOptionsDlg>([start](CJpegOptionsDlg* jpeg) {
            EXPECT_EQ(jpeg->windowTitle(), "JPEG Compression Options...");
            QLineEdit* field = Field(jpeg, "quality");
            EXPECT_EQ(field->text(), start);
            QTest::keyClick(jpeg->m_slider, Qt::Key_Home);
            QTest::keyClick(jpeg->m_slider, Qt::Key_PageUp);
            QTest::keyClick(jpeg->m_slider, Qt::Key_Right);
            EXPECT_EQ(field->text(), "11");
            Type(field, "150");
            EXPECT_EQ(jpeg->m_slider->value(), 15) << "150 is out of range: 15 was the last taken";
            EXPECT_EQ(Refusal(jpeg, field), "Please enter an integer between 0 and 100.");
            Type(field, "8-0x");
            EXPECT_EQ(field->text(), "80") << "only digits can be typed";
            EXPECT_EQ(jpeg->m_slider->value(), 80);
            QTest::keyClick(jpeg, Qt::Key_Escape);
        });
        Press("Export Texture");
        EXPECT_EQ(dlg.m_jpegQuality, 80);
        EXPECT_EQ(fixtures::ReadFileBytes(dir / name).at(1), 0xD8);
    }
    // TGA: unchecked at first, then what was left checked, however the dialog was closed.
    for (const bool closeWithOk : {true, false}) {
        WhenModal<CTgaOptionsDlg>([closeWithOk](CTgaOptionsDlg* tga) {
            EXPECT_EQ(tga->windowTitle(), "Options");
            auto* box = tga->findChild<QCheckBox*>();
            EXPECT_EQ(box->text(), "Enable RLE Compression");
            EXPECT_EQ(box->isChecked(), !closeWithOk);
            QTest::mouseClick(box, Qt::LeftButton);
            if (closeWithOk) {
                QTest::mouseClick(tga->findChild<QPushButton*>(), Qt::LeftButton);
            } else {
                QTest::mouseClick(box, Qt::LeftButton);
                QTest::keyClick(tga, Qt::Key_Escape);
            }
        });
        const std::string name = closeWithOk ? "a.tga" : "b.tga";
        Export(name, 4);
        EXPECT_EQ(dlg.m_tgaRle, 1);
        EXPECT_EQ(fixtures::ReadFileBytes(dir / name).at(2), 10) << "run-length true colour";
    }

    // PNG chosen, a .bmp name typed: the file is a PNG. Saving over a file asks first.
    Write("named.bmp", {1, 2, 3});
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    Export("named.bmp", 3);
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "named.bmp").at(1), 'P');
    Export("t.raw", 7);
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "t.raw"), RawDump(Wad().ObjectTexture(0, 0)));
}

TEST_F(TextureCommands, ExportFailuresAreReported) {
    // The folder exists, but no file can be made in it.
    QString title;
    WhenModal<QMessageBox>([&title](QMessageBox* box) {
        title = box->windowTitle() + ": " + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    AnswerFileDialog("/proc/self/x.png", 3);
    Press("Export Texture");
    EXPECT_EQ(title, "Error Saving!: Error saving to\n[/proc/self/x.png]");
    QString text;
    AnswerMessage(&text);
    AnswerFileDialog("/proc/self/x.raw", 7);
    Press("Export Texture");
    EXPECT_TRUE(text.contains("/proc/self/x.raw")) << text.toStdString();
}

} // namespace
