// Resize Texture and Resize Range through the real window and dialogs.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "support/Fixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

// An empty object 494, then object 464 with six textures cut from one page.
const std::vector<QRect> kSprites = {{0, 0, 100, 50},  {100, 0, 3, 7},   {0, 60, 256, 1},
                                     {0, 70, 128, 32}, {130, 0, 16, 16}, {0, 110, 100, 30}};

QLineEdit* Field(QWidget* dialog, const char* name) {
    auto* field = dialog->findChild<QLineEdit*>(name);
    EXPECT_NE(field, nullptr) << name;
    return field;
}

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void Click(QDialog* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

QString SizeLine(QDialog* dialog, const char* name) {
    auto* label = dialog->findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString();
}

// Presses OK expecting a refusal; returns the message and checks focus and selection.
QString Refusal(QDialog* dialog, QLineEdit* culprit) {
    QString text;
    WhenModal<QMessageBox>([&text](QMessageBox* box) {
        text = box->text();
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    Click(dialog, "OK");
    EXPECT_TRUE(dialog->isVisible()) << "the dialog closed";
    EXPECT_EQ(dialog->focusWidget(), culprit);
    EXPECT_EQ(culprit->selectedText(), culprit->text());
    return text;
}

class Resize : public ::testing::Test {
protected:
    Resize() : w(dlg) {
        page = fixtures::MakeTexture(256, 256, 3);
        fixtures::SwdBuilder b;
        for (const QRect& r : kSprites) {
            b.Entry(static_cast<std::uint8_t>(r.x()), static_cast<std::uint8_t>(r.y()), 0,
                    r.width(), r.height());
        }
        b.Page(page).Sequence(494, 0, 6).Sequence(464, -6, 0);
        const auto swd = dir / "six.swd";
        fixtures::WriteFileBytes(swd, b.Build());
        EXPECT_TRUE(dlg.OpenSwdFile(QString::fromStdString(swd.string())));
        dlg.show();
        w.Select(w.objects, 1);
    }

    QString Size(int line) const {
        const SpriteTexture& t = dlg.Document().ObjectTexture(1, line);
        return QString("%1x%2").arg(t.GetWidth()).arg(t.GetHeight());
    }

    fixtures::TempDir dir;
    TexturePage page;
    CMainDlg dlg;
    WindowProbe w;
};

TEST_F(Resize, TypingOneSideFillsTheOtherFromTheTexturesProportions) {
    struct Step {
        const char* field;
        QString text, otherText, newLine;
    };
    struct Case {
        int line;
        bool keep;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {0,
         true,
         {{"width", "64", "32", "New size:\t64  x  32  Pixels"},
          {"height", "33", "66", "New size:\t66  x  33  Pixels"},
          {"width", "", "0", "New size:\t0  x  0  Pixels"}}},
        {1,
         true,
         {{"width", "10", "23", "New size:\t10  x  23  Pixels"},
          {"height", "10", "4", "New size:\t4  x  10  Pixels"}}},
        {0,
         false,
         {{"width", "64", "50", "New size:\t64  x  50  Pixels"},
          {"height", "9", "64", "New size:\t64  x  9  Pixels"}}},
        {2, true, {{"width", "100", "0", "New size:\t100  x  0  Pixels"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        dlg.m_resizeKeepAspect = c.keep ? 1 : 0;
        w.Select(w.sprites, c.line);
        const QString before = Size(c.line);
        WhenModal<CResizeDlg>([&](CResizeDlg* d) {
            EXPECT_EQ(d->windowTitle(), "Resize Image");
            const QStringList size = before.split('x');
            EXPECT_EQ(SizeLine(d, "currentSize"),
                      QString("Current size:\t%1  x  %2  Pixels").arg(size[0], size[1]));
            EXPECT_EQ(SizeLine(d, "newSize"),
                      QString("New size:\t%1  x  %2  Pixels").arg(size[0], size[1]));
            EXPECT_EQ(Field(d, "width")->text(), size[0]);
            for (const Step& step : c.steps) {
                const bool width = QString(step.field) == "width";
                Type(Field(d, step.field), step.text);
                EXPECT_EQ(Field(d, width ? "height" : "width")->text(), step.otherText)
                    << step.field << " " << step.text.toStdString();
                EXPECT_EQ(SizeLine(d, "newSize"), step.newLine);
            }
            Click(d, "Cancel");
        });
        QTest::mouseClick(w.Button("Resize Texture"), Qt::LeftButton);
        EXPECT_EQ(Size(c.line), before);
        EXPECT_EQ(dlg.m_resizeKeepAspect, c.keep ? 1 : 0);
    }
}

TEST_F(Resize, OkRefusesBadSidesThenResizesAndRemembersTheChoices) {
    w.Select(w.sprites, 0); // 100 x 50
    QStringList refused;
    WhenModal<CResizeDlg>([&](CResizeDlg* d) {
        QLineEdit* width = Field(d, "width");
        QLineEdit* height = Field(d, "height");
        EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentText(), "Stretch");
        Type(width, "");
        refused << Refusal(d, width);
        Type(width, "50");
        EXPECT_EQ(height->text(), "25") << "typing a width again recomputes the height";
        Type(width, "1000");
        EXPECT_EQ(width->text(), "1000");
        refused << Refusal(d, width);
        Type(width, "1234567");
        EXPECT_EQ(width->text(), "123456") << "at most 6 digits are typed";
        Type(width, "4");
        EXPECT_EQ(height->text(), "2");
        // With the box off the sides are independent, so the height alone is refused.
        QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton);
        Type(height, "0");
        EXPECT_EQ(width->text(), "4");
        refused << Refusal(d, height);
        Type(height, "2");
        d->findChild<QComboBox*>("filter")->setCurrentIndex(1);
        Click(d, "OK");
    });
    QTest::mouseClick(w.Button("Resize Texture"), Qt::LeftButton);
    EXPECT_EQ(refused,
              (QStringList{"Please enter an integer.", "Please enter an integer between 1 and 256.",
                           "Please enter an integer between 1 and 256."}));
    EXPECT_EQ(Size(0), "4x2");
    EXPECT_EQ(w.SpriteLines()[0], "Texture 0 :  (4 x 2)");
    EXPECT_EQ(w.sprites->currentIndex(), 0);
    EXPECT_EQ(w.PreviewImage(), apptest::ReferenceImage(dlg.Document().ObjectTexture(1, 0)));
    EXPECT_EQ(dlg.m_resizeFilter, 1);
    EXPECT_EQ(dlg.m_resizeKeepAspect, 0);

    // Both dialogs open on the choices confirmed last; Cancel changes nothing.
    for (const bool range : {false, true}) {
        const auto check = [](QDialog* d) {
            EXPECT_EQ(d->findChild<QComboBox*>("filter")->currentText(), "Bilinear");
            EXPECT_FALSE(d->findChild<QCheckBox*>()->isChecked());
            d->findChild<QComboBox*>("filter")->setCurrentIndex(0);
            QTest::mouseClick(d->findChild<QCheckBox*>(), Qt::LeftButton);
            Click(d, "Cancel");
        };
        if (range) {
            WhenModal<CResizeRangeDlg>(check);
        } else {
            WhenModal<CResizeDlg>(check);
        }
        QTest::mouseClick(w.Button(range ? "Resize Range" : "Resize Texture"), Qt::LeftButton);
        EXPECT_EQ(dlg.m_resizeFilter, 1);
        EXPECT_EQ(dlg.m_resizeKeepAspect, 0);
        EXPECT_EQ(Size(0), "4x2");
    }
}

TEST_F(Resize, StretchRepeatsPixelsInTheWindowToo) {
    w.Select(w.sprites, 1); // 3 x 7
    const SpriteTexture original = dlg.Document().ObjectTexture(1, 1);
    dlg.m_resizeKeepAspect = 0;
    WhenModal<CResizeDlg>([](CResizeDlg* d) {
        Type(Field(d, "width"), "6");
        Type(Field(d, "height"), "14");
        Click(d, "OK");
    });
    QTest::mouseClick(w.Button("Resize Texture"), Qt::LeftButton);
    const SpriteTexture& stretched = dlg.Document().ObjectTexture(1, 1);
    ASSERT_EQ(Size(1), "6x14");
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(fixtures::PixelAt(stretched, x, y),
                      fixtures::PixelAt(original, x / 2, y / 2));
        }
    }
}

TEST_F(Resize, RangeDialogChecksStartAndStopAndResizesTheRange) {
    w.Select(w.sprites, 2);
    QStringList refused;
    WhenModal<CResizeRangeDlg>([&](CResizeRangeDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Resize Image Range");
        EXPECT_EQ(Field(d, "start")->text(), "2");
        EXPECT_EQ(Field(d, "stop")->text(), "5");
        EXPECT_EQ(Field(d, "width")->text(), "256");
        EXPECT_EQ(Field(d, "height")->text(), "1");
        EXPECT_TRUE(d->findChild<QCheckBox*>()->isChecked());
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
    QTest::mouseClick(w.Button("Resize Range"), Qt::LeftButton);
    EXPECT_EQ(refused,
              (QStringList{"Please enter an integer between 0 and 5", "Please enter an integer.",
                           "Please enter an integer between 1 and 256."}));
    const QStringList sizes = {Size(0), Size(1), Size(2), Size(3), Size(4), Size(5)};
    EXPECT_EQ(sizes, (QStringList{"100x50", "3x7", "256x1", "64x16", "64x64", "64x19"}));
    EXPECT_EQ(w.SpriteLines().mid(3),
              (QStringList{"Texture 3 :  (64 x 16)", "Texture 4 :  (64 x 64)",
                           "Texture 5 :  (64 x 19)"}));
    EXPECT_EQ(w.sprites->currentIndex(), 3);
    EXPECT_EQ(w.PreviewImage(), apptest::ReferenceImage(dlg.Document().ObjectTexture(1, 3)));

    // A start above the stop is accepted, changes nothing and selects the start.
    w.Select(w.sprites, 0);
    WhenModal<CResizeRangeDlg>([](CResizeRangeDlg* d) {
        Type(Field(d, "start"), "3");
        Type(Field(d, "stop"), "1");
        Click(d, "OK");
        EXPECT_FALSE(d->isVisible());
    });
    QTest::mouseClick(w.Button("Resize Range"), Qt::LeftButton);
    EXPECT_EQ((QStringList{Size(0), Size(1), Size(2), Size(3), Size(4), Size(5)}), sizes);
    EXPECT_EQ(w.sprites->currentIndex(), 3);
}

TEST_F(Resize, NothingHappensWithoutATextureLine) {
    for (const bool closed : {false, true}) {
        if (closed) {
            dlg.OnCloseSwd();
        } else {
            w.Select(w.objects, 0); // the empty object
            ASSERT_EQ(w.sprites->count(), 0);
        }
        for (const char* button : {"Resize Texture", "Resize Range"}) {
            EXPECT_EQ(
                apptest::ModalsDuring([&] { QTest::mouseClick(w.Button(button), Qt::LeftButton); }),
                0)
                << button << (closed ? " after Close SWD" : "");
        }
    }
}

} // namespace
