// Resize Texture and Resize Range through the real window and dialogs.
#include "WindowTest.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using namespace apptest;

namespace {

QString SizeLine(QDialog* dialog, const char* name) {
    return dialog->findChild<QLabel*>(name)->text();
}

// An empty object 494, then object 464 with six textures cut from one page.
class Resize : public WindowTest {
protected:
    Resize() {
        fixtures::SwdBuilder b;
        for (const QRect& r : std::vector<QRect>{{0, 0, 100, 50},
                                                 {100, 0, 3, 7},
                                                 {0, 60, 256, 1},
                                                 {0, 70, 128, 32},
                                                 {130, 0, 16, 16},
                                                 {0, 110, 100, 30}}) {
            b.Entry(static_cast<std::uint8_t>(r.x()), static_cast<std::uint8_t>(r.y()), 0,
                    r.width(), r.height());
        }
        Open(b.Page(fixtures::MakeTexture(256, 256, 3))
                 .Sequence(494, 0, 6)
                 .Sequence(464, -6, 0)
                 .Build());
        dlg.show();
        Select(objects, 1);
    }

    QStringList Sizes() const {
        QStringList sizes;
        for (int i = 0; i < 6; ++i) {
            const SpriteTexture& t = dlg.Document().ObjectTexture(1, i);
            sizes << QString("%1x%2").arg(t.GetWidth()).arg(t.GetHeight());
        }
        return sizes;
    }
};

TEST_F(Resize, TypingOneSideFillsTheOtherAndOkRefusesBadSides) {
    Select(sprites, 0); // 100 x 50
    QStringList refused;
    WhenModal<CResizeDlg>([&](CResizeDlg* d) {
        QLineEdit* width = Field(d, "width");
        QLineEdit* height = Field(d, "height");
        EXPECT_EQ(d->windowTitle(), "Resize Image");
        EXPECT_EQ(SizeLine(d, "currentSize"), "Current size:\t100  x  50  Pixels");
        EXPECT_EQ(SizeLine(d, "newSize"), "New size:\t100  x  50  Pixels");
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentText(), "Stretch");
        EXPECT_TRUE(d->findChild<QCheckBox*>()->isChecked());
        Type(height, "33");
        EXPECT_EQ(width->text(), "66");
        EXPECT_EQ(SizeLine(d, "newSize"), "New size:\t66  x  33  Pixels");
        Type(width, "");
        EXPECT_EQ(SizeLine(d, "newSize"), "New size:\t0  x  0  Pixels");
        refused << Refusal(d, width);
        Type(width, "1234567");
        EXPECT_EQ(width->text(), "123456") << "at most 6 digits are typed";
        refused << Refusal(d, width);
        Type(width, "4");
        EXPECT_EQ(height->text(), "2");
        // With the box off the sides are independent, so the height alone is refused.
        QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton);
        Type(height, "0");
        EXPECT_EQ(width->text(), "4");
        refused << Refusal(d, height);
        Type(height, "3");
        d->findChild<QComboBox*>("filter")->setCurrentIndex(1);
        Click(d, "OK");
    });
    Press("Resize Texture");
    EXPECT_EQ(refused,
              (QStringList{"Please enter an integer.", "Please enter an integer between 1 and 256.",
                           "Please enter an integer between 1 and 256."}));
    EXPECT_EQ(Sizes()[0], "4x3");
    EXPECT_EQ(SpriteLines()[0], "Texture 0 :  (4 x 3)");
    EXPECT_EQ(sprites->currentIndex(), 0);
    EXPECT_EQ(PreviewImage(), ReferenceImage(dlg.Document().ObjectTexture(1, 0)));
    EXPECT_EQ(dlg.m_resizeFilter, 1);
    EXPECT_EQ(dlg.m_resizeKeepAspect, 0);

    // Both dialogs open on the choices confirmed last; Cancel changes nothing.
    const Shown before = Take();
    const auto cancel = [](QDialog* d) {
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentText(), "Bilinear");
        EXPECT_FALSE(d->findChild<QCheckBox*>()->isChecked());
        d->findChild<QComboBox*>("filter")->setCurrentIndex(0);
        QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton);
        Type(Field(d, "width"), "9");
        Click(d, "Cancel");
    };
    WhenModal<CResizeDlg>(cancel);
    Press("Resize Texture");
    WhenModal<CResizeRangeDlg>(cancel);
    Press("Resize Range");
    EXPECT_EQ(dlg.m_resizeFilter, 1);
    EXPECT_EQ(dlg.m_resizeKeepAspect, 0);
    EXPECT_TRUE(Take() == before);
}

TEST_F(Resize, RangeDialogChecksStartAndStopAndResizesTheRange) {
    Select(sprites, 2);
    QStringList refused;
    WhenModal<CResizeRangeDlg>([&](CResizeRangeDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Resize Image Range");
        const QStringList shown = {Field(d, "start")->text(), Field(d, "stop")->text(),
                                   Field(d, "width")->text(), Field(d, "height")->text()};
        EXPECT_EQ(shown, (QStringList{"2", "5", "256", "1"}));
        Type(Field(d, "stop"), "6");
        refused << Refusal(d, Field(d, "stop"));
        Type(Field(d, "start"), "");
        refused << Refusal(d, Field(d, "start"));
        Type(Field(d, "start"), "3");
        Type(Field(d, "stop"), "5");
        Type(Field(d, "width"), "300");
        refused << Refusal(d, Field(d, "width"));
        Type(Field(d, "width"), "64");
        Type(Field(d, "height"), "64");
        Click(d, "OK");
    });
    Press("Resize Range");
    EXPECT_EQ(refused,
              (QStringList{"Please enter an integer between 0 and 5", "Please enter an integer.",
                           "Please enter an integer between 1 and 256."}));
    EXPECT_EQ(Sizes(), (QStringList{"100x50", "3x7", "256x1", "64x16", "64x64", "64x19"}));
    EXPECT_EQ(SpriteLines().mid(3), (QStringList{"Texture 3 :  (64 x 16)", "Texture 4 :  (64 x 64)",
                                                 "Texture 5 :  (64 x 19)"}));
    EXPECT_EQ(sprites->currentIndex(), 3);
    EXPECT_EQ(PreviewImage(), ReferenceImage(dlg.Document().ObjectTexture(1, 3)));

    // A start above the stop is accepted, changes nothing and selects the start.
    const QStringList sizes = Sizes();
    Select(sprites, 0);
    WhenModal<CResizeRangeDlg>([](CResizeRangeDlg* d) {
        Type(Field(d, "start"), "3");
        Type(Field(d, "stop"), "1");
        Click(d, "OK");
        EXPECT_FALSE(d->isVisible());
    });
    Press("Resize Range");
    EXPECT_EQ(Sizes(), sizes);
    EXPECT_EQ(sprites->currentIndex(), 3);
}

} // namespace
