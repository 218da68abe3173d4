// Resize Texture and Resize Range through the real window and dialogs.
#include "WindowTest.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"

using namespace apptest;

namespace {

// SmallWad: 463 owns 56x56, 1x1, 256x3; 460 (selected) owns 64x64, 32x16; 494 none.
class Resize : public WindowTest {
protected:
    Resize() {
        Open(fixtures::SmallWad().Build());
        Select(objects, 1);
    }
};

TEST_F(Resize, TypingOneSideFillsTheOtherAndOkRefusesBadSides) {
    Select(sprites, 1);
    QStringList refused;
    WhenModal<CResizeDlg>([&](CResizeDlg* d) {
        QLineEdit* width = Field(d, "width");
        QLineEdit* height = Field(d, "height");
        EXPECT_EQ(d->findChild<QLabel*>("currentSize")->text(), "Current size:\t32  x  16  Pixels");
        Type(height, "33");
        EXPECT_EQ(width->text(), "66");
        EXPECT_EQ(d->findChild<QLabel*>("newSize")->text(), "New size:\t66  x  33  Pixels");
        Type(width, "");
        refused << Refusal(d, width);
        // With the box off the sides are independent.
        QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton);
        Type(width, "4");
        Type(height, "0");
        EXPECT_EQ(width->text(), "4");
        refused << Refusal(d, height);
        Type(height, "3");
        d->findChild<QComboBox*>("filter")->setCurrentIndex(1);
        Click(d, "OK");
    });
    Press("Resize Texture");
    EXPECT_EQ(refused, (QStringList{"Please enter an integer.",
                                    "Please enter an integer between 1 and 256."}));
    EXPECT_EQ(SpriteLines()[1], "Texture 1 :  (4 x 3)");
    EXPECT_EQ(PreviewImage(), ReferenceImage(dlg.Document().ObjectTexture(1, 1)));
}

TEST_F(Resize, RangeDialogChecksStartAndStopAndResizesTheRange) {
    QStringList refused;
    WhenModal<CResizeRangeDlg>([&](CResizeRangeDlg* d) {
        EXPECT_EQ(Field(d, "start")->text() + Field(d, "stop")->text(), "01");
        Type(Field(d, "stop"), "2");
        refused << Refusal(d, Field(d, "stop"));
        Type(Field(d, "stop"), "1");
        Type(Field(d, "width"), "64");
        Type(Field(d, "height"), "64");
        Click(d, "OK");
    });
    Press("Resize Range");
    EXPECT_EQ(refused, QStringList{"Please enter an integer between 0 and 1"});
    EXPECT_EQ(SpriteLines(), (QStringList{"Texture 0 :  (64 x 64)", "Texture 1 :  (64 x 32)"}));
    EXPECT_EQ(sprites->currentIndex(), 0);
}

} // namespace
