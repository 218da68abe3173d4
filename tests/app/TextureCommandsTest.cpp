// Import, Add, Delete, Export and Resize Texture, Resize Range and the clipboard, through the
// real window.
#include "WindowTest.h"
#include "app/AppSettings.h"
#include "app/CJpegOptionsDlg.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/CTgaOptionsDlg.h"
#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"
#include "images/ResizeMath.h"
#include "images/TextureExport.h"

#include <QSlider>

using namespace apptest;

namespace {

// SmallWad: 463 owns 56x56, 1x1, 256x3; 460 owns 64x64, 32x16; 494 none.
class TextureCommands : public WindowTest {
protected:
    TextureCommands() { Open(fixtures::SmallWad().Build()); }
    ~TextureCommands() override { QGuiApplication::clipboard()->clear(); }

    // Exports the current texture picking this filter.
    void Export(const std::string& name, int filter) {
        AnswerFileDialog(Path(name), filter);
        Press("Export Texture");
    }
    const SpriteWad& Wad() const { return dlg.Wad(); }
};

// A refused image changes nothing; a good one is fitted and replaces the selected texture.
TEST_F(TextureCommands, ImportFitsAndReplacesInPlaceAndExportGivesThePixelsBack) {
    const Shown before = Take();
    QString text;
    AnswerFileDialog(Write("cut.png", {0x89, 'P', 'N', 'G'}), 4);
    AnswerMessage(&text);
    Press("Import Texture");
    EXPECT_EQ(text, "Failed To Load Image...");
    EXPECT_EQ(Take(), before);
    const BTCImageData picture = fixtures::MakeTexture(300, 99, 3);
    BTCImageData fitted = picture;
    ASSERT_TRUE(FitTexture(fitted));
    Select(sprites, 1);
    AnswerFileDialog(WriteImage("picture.png", picture));
    Press("Import Texture");
    EXPECT_EQ(PreviewImage(), ReferenceImage(fitted));
    AnswerFileDialog(Path("back.png"), 3, [](QFileDialog* fd) {
        EXPECT_EQ(fd->findChild<QLineEdit*>("fileNameEdit")->text(), "Default_1");
    });
    Press("Export Texture");
    BTCImageObject back;
    ASSERT_TRUE(back.Load((dir / "back.png").string()));
    EXPECT_EQ(back.GetObjectData(), fitted);
}

// With the empty object selected the texture commands do nothing; with no wad open, none does.
TEST_F(TextureCommands, CommandsWithoutTheirSelectionDoNothing) {
    QGuiApplication::clipboard()->setImage(ReferenceImage(fixtures::MakeTexture(8, 8, 1)));
    const std::vector<const char*> textureCommands = {
        "Export Texture", "Import Texture", "Delete Texture", "Copy Texture",
        "Paste Texture",  "Resize Texture", "Resize Range"};
    std::vector<const char*> all = {"Delete Object", "Edit Object",       "Export Object",
                                    "Add Texture",   "Add Split Texture", "Paste As New",
                                    "Save As SWD"};
    all.insert(all.end(), textureCommands.begin(), textureCommands.end());
    Select(objects, 2);
    for (const auto& buttons : {textureCommands, all}) {
        const Shown before = Take();
        for (const char* button : buttons) {
            EXPECT_EQ(ModalsDuring([&] { Press(button); }), 0) << button;
        }
        EXPECT_EQ(Take(), before);
        dlg.OnCloseSwd();
    }
}

TEST_F(TextureCommands, CopyPasteKeepOddWidthsAndDeleteSelectsTheLineBefore) {
    Select(sprites, 0);
    Activate(); // the copy key copies text selected in the Info pane, not the texture
    info->setFocus();
    info->selectAll();
    QTest::keyClick(info, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), info->toPlainText());
    path->setFocus(); // nothing is selected there: the key copies the texture
    QTest::keyClick(path, Qt::Key_C, Qt::ControlModifier);
    Press("Paste As New");
    EXPECT_EQ(Wad().ObjectTexture(0, 3), Wad().ObjectTexture(0, 0));
    const BTCImageData odd = fixtures::MakeTexture(5, 3, 12);
    QGuiApplication::clipboard()->setImage(ReferenceImage(odd));
    Press("Paste Texture");
    EXPECT_EQ(Wad().ObjectTexture(0, 3), odd);
    QImage wide(BTCImageData::kMaxSide + 1, 1, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(wide);
    QString tooLarge;
    AnswerMessage(&tooLarge);
    Press("Paste Texture");
    EXPECT_EQ(tooLarge, "The image on the clipboard is larger than 16384 pixels a side and "
                        "cannot be pasted.");
    EXPECT_EQ(Wad().ObjectTexture(0, 3), odd);
    Select(sprites, 1);
    Press("Delete Texture");
    EXPECT_EQ(sprites->currentIndex(), 0) << "the line before the deleted one";
}

TEST_F(TextureCommands, ExportRefusesABadQualityAndTheFilterDecidesTheFormat) {
    WhenModal<CJpegOptionsDlg>([](CJpegOptionsDlg* jpeg) {
        jpeg->m_slider->setValue(30);
        EXPECT_EQ(Field(jpeg, "quality")->text(), "30");
        Type(Field(jpeg, "quality"), "70");
        EXPECT_EQ(jpeg->m_slider->value(), 70);
        // Typed past 100: the range message at once, and the value last taken stays.
        QString typedPast;
        AnswerMessage(&typedPast);
        Type(Field(jpeg, "quality"), "150");
        EXPECT_EQ(typedPast, "Please enter an integer between 0 and 100.");
        EXPECT_EQ(jpeg->m_slider->value(), 15);
        // Emptied: nothing is taken while the user retypes, and OK refuses it.
        Type(Field(jpeg, "quality"), "");
        EXPECT_EQ(jpeg->m_slider->value(), 15);
        EXPECT_EQ(Refusal(jpeg, Field(jpeg, "quality")), "Please enter an integer.");
        Type(Field(jpeg, "quality"), "100");
        Click(jpeg, "OK");
    });
    Export("a.jpg", 6);
    // The RLE choice is remembered for the next TGA.
    for (const bool tick : {true, false}) {
        WhenModal<CTgaOptionsDlg>([tick](CTgaOptionsDlg* tga) {
            EXPECT_EQ(tga->findChild<QCheckBox*>()->isChecked(), !tick);
            tga->findChild<QCheckBox*>()->setChecked(true);
            Click(tga, "OK");
        });
        Export(tick ? "r.tga" : "s.tga", 4);
    }
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "s.tga").at(2), 10) << "run-length true colour";
    Export("t.raw", 7);
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "t.raw"), RawDump(Wad().ObjectTexture(0, 0)));
    QString message;
    WhenModal<QMessageBox>([&message](QMessageBox* box) {
        message = box->windowTitle() + ": " + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    AnswerFileDialog("/proc/self/x.png", 3);
    Press("Export Texture");
    EXPECT_EQ(message, "Error Saving!: Error saving to\n[/proc/self/x.png]");
}

TEST_F(TextureCommands, ResizeTypingOneSideFillsTheOtherAndOkRefusesBadSides) {
    Select(objects, 1);
    Select(sprites, 1);
    SpriteTexture expected = dlg.Wad().ObjectTexture(1, 1);
    ASSERT_TRUE(ResizeTexture(expected, 4, 1, ResizeFilter::Bilinear));
    QStringList refused;
    WhenModal<CResizeDlg>([&](CResizeDlg* d) {
        QLineEdit* width = Field(d, "width");
        QLineEdit* height = Field(d, "height");
        EXPECT_EQ(d->findChild<QLabel*>("currentSize")->text(), "Current size:\t32  x  16  Pixels");
        EXPECT_EQ(width->text() + "/" + height->text(), "32/16");
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentIndex(), 0);
        Type(height, "33");
        EXPECT_EQ(width->text(), "66");
        EXPECT_EQ(d->findChild<QLabel*>("newSize")->text(), "New size:\t66  x  33  Pixels");
        Type(width, "");
        refused << Refusal(d, width);
        // With the box off the sides are independent; only digits can be typed.
        QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton);
        Type(width, "4x");
        Type(height, "0");
        EXPECT_EQ(width->text(), "4");
        refused << Refusal(d, height);
        Type(height, "1");
        d->findChild<QComboBox*>("filter")->setCurrentIndex(1);
        Click(d, "OK");
    });
    Press("Resize Texture");
    EXPECT_EQ(refused, (QStringList{"Please enter an integer.",
                                    "Please enter an integer between 1 and 256."}));
    EXPECT_EQ(dlg.Wad().ObjectTexture(1, 1), expected) << "the filter chosen: Bilinear";
    EXPECT_EQ(PreviewImage(), ReferenceImage(expected));
    // The next resize, also in the next run, starts from the filter and the aspect box chosen.
    EXPECT_EQ(AppSettings().Choices().resizeFilter, 1);
    WhenModal<CResizeDlg>([](CResizeDlg* d) {
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentIndex(), 1);
        EXPECT_FALSE(d->findChild<QCheckBox*>()->isChecked());
        d->reject();
    });
    Press("Resize Texture");
}

TEST_F(TextureCommands, ResizeRangeChecksStartAndStopAndResizesTheRange) {
    Select(objects, 1);
    SpriteTexture expected = dlg.Wad().ObjectTexture(1, 1);
    ASSERT_TRUE(ResizeTexture(expected, 1, 64, ResizeFilter::Bilinear));
    QStringList refused;
    WhenModal<CResizeRangeDlg>([&](CResizeRangeDlg* d) {
        EXPECT_EQ(d->focusWidget(), Field(d, "width")) << "Tab takes the fields as they read";
        EXPECT_EQ(Field(d, "start")->nextInFocusChain(), Field(d, "stop"));
        EXPECT_EQ(Field(d, "start")->text() + Field(d, "stop")->text(), "01");
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentIndex(), 0) << "a new user's Stretch";
        Type(Field(d, "stop"), "2");
        refused << Refusal(d, Field(d, "stop"));
        Type(Field(d, "stop"), "1");
        Type(Field(d, "start"), "1");
        Type(Field(d, "width"), "1");
        Type(Field(d, "height"), "64");
        d->findChild<QComboBox*>("filter")->setCurrentIndex(1);
        QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton); // the sides as typed
        Click(d, "OK");
    });
    Press("Resize Range");
    EXPECT_EQ(refused, QStringList{"Please enter an integer between 0 and 1"});
    EXPECT_EQ(SpriteLines(), (QStringList{"Texture 0 :  (64 x 64)", "Texture 1 :  (1 x 64)"}));
    EXPECT_EQ(dlg.Wad().ObjectTexture(1, 1), expected) << "the filter chosen: Bilinear";
    EXPECT_EQ(sprites->currentIndex(), 1) << "the range's first line";
    EXPECT_EQ(AppSettings().Choices().resizeKeepAspect, 0) << "kept for the next run";
    WhenModal<CResizeRangeDlg>([](CResizeRangeDlg* d) {
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentIndex(), 1) << "the filter chosen";
        d->reject();
    });
    Press("Resize Range");
}

} // namespace
