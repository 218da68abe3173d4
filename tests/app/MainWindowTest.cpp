// The editor window before anything is loaded: controls, texts, colours, layout, job states.
#include "WindowProbe.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

using apptest::WindowProbe;

namespace {

const std::vector<std::pair<QString, QString>> kButtons = {
    {"Open SWD", "Opens a Tomb Raider Sprite Wad"},
    {"Add Object", "Add new object to store textures into"},
    {"Delete Object", "Deletes the current object and its textures"},
    {"Edit Object", "Edits the current objects ID"},
    {"Export Object", "Exports an object and its\ntextures to a SWO file"},
    {"Import Object", "Imports an object and its\ntextures from a SWO file"},
    {"Export Texture", "Exports current texture to an image file"},
    {"Import Texture", "Imports an image file and replaces current texture"},
    {"Add Texture", "Adds a new texture from file"},
    {"Add Split Texture", "Adds new textures from one image\nby spliting it into many pieces"},
    {"Delete Texture", "Deletes the current texture"},
    {"Copy Texture", "Copys current texture to the clipboard"},
    {"Paste Texture", "Pastes an image from the clipboard\nand replaces current texture"},
    {"Paste As New", "Pastes an image from the clipboard\nas a new texture"},
    {"Resize Texture", "Resizes the current texture"},
    {"Resize Range", "Resizes a range of textures"},
    {"Save As SWD", "Saves as a Tomb Raider Sprite Wad file"},
    {"Close SWD", "Closes the Tomb Raider Sprite Wad"},
    {"Exit", "Exits the program"},
};

// A palette colour as it lands in 8-bit pixels.
QColor Rgb(const QPalette& palette, QPalette::ColorRole role) {
    return QColor(palette.color(role).rgb());
}

} // namespace

TEST(MainWindow, StartsEmptyAndJobControlsGoOffAndOnTogetherLeavingFieldsAlone) {
    CMainDlg dlg;
    WindowProbe w(dlg);
    EXPECT_EQ(dlg.windowTitle(), "Vornix v1.03");
    EXPECT_TRUE(w.path->text().isEmpty());
    EXPECT_EQ(w.objects->count(), 0);
    EXPECT_EQ(w.sprites->count(), 0);
    EXPECT_TRUE(w.info->toPlainText().isEmpty());
    EXPECT_TRUE(w.preview->pixmap().isNull());
    EXPECT_EQ(dlg.findChildren<QPushButton*>().size(), 19);
    EXPECT_EQ(dlg.m_bSaving.load(), 0);
    EXPECT_EQ(dlg.m_bSplitting.load(), 0);
    for (const bool on : {true, false, true}) {
        dlg.SetJobControlsEnabled(on);
        for (const auto& [text, tip] : kButtons) {
            ASSERT_NE(w.Button(text), nullptr);
            EXPECT_EQ(w.Button(text)->isEnabled(), on) << text.toStdString();
        }
        EXPECT_EQ(w.objects->isEnabled(), on);
        EXPECT_EQ(w.sprites->isEnabled(), on);
        EXPECT_TRUE(w.path->isEnabled() && w.info->isEnabled() && w.preview->isEnabled());
    }
}

TEST(MainWindow, ButtonsAndTooltipsFormOneColumnInSevenGroups) {
    CMainDlg dlg;
    WindowProbe w(dlg);
    std::vector<int> gaps;
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        QPushButton* b = w.Button(kButtons[i].first);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), kButtons[i].second) << kButtons[i].first.toStdString();
        EXPECT_EQ(b->x(), w.Button("Open SWD")->x());
        if (i > 0) {
            const QPushButton* above = w.Button(kButtons[i - 1].first);
            EXPECT_GT(b->y(), above->geometry().bottom()) << "buttons overlap or are out of order";
            gaps.push_back(b->y() - above->geometry().bottom());
        }
    }
    EXPECT_TRUE(w.Button("Open SWD")->isDefault());
    // Six gaps are wider than the others: after Open SWD, the object, texture, clipboard and
    // resize groups, and before Exit.
    const int smallGap = *std::min_element(gaps.begin(), gaps.end());
    std::vector<std::size_t> wide;
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        if (gaps[i] > smallGap + 2) {
            wide.push_back(i + 1);
        }
    }
    EXPECT_EQ(wide, (std::vector<std::size_t>{1, 6, 11, 14, 16, 18}));
    // Exit sits at the bottom edge, as far from it as Open SWD is from the top.
    EXPECT_NEAR(w.Button("Exit")->geometry().bottom() + 1 + w.Button("Open SWD")->y(), dlg.height(),
                1);
}

TEST(MainWindow, FixedSizeWithMinimiseButNoMaximise) {
    CMainDlg dlg;
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    const Qt::WindowFlags flags = dlg.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dlg.windowIcon().pixmap(16, 16).isNull());
    EXPECT_FALSE(dlg.windowIcon().pixmap(256, 256).isNull());
}

TEST(MainWindow, ColoursAndFontsOfFieldsAndLabels) {
    CMainDlg dlg;
    WindowProbe w(dlg);
    EXPECT_TRUE(w.path->isReadOnly());
    EXPECT_EQ(w.path->palette().color(QPalette::Text), QColor(128, 255, 128));
    EXPECT_EQ(w.path->palette().color(QPalette::Base), QColor(0, 128, 0));
    EXPECT_TRUE(w.info->isReadOnly());
    EXPECT_EQ(w.info->palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_EQ(w.info->palette().color(QPalette::Base), QColor(128, 0, 0));
    EXPECT_EQ(w.info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(w.objects->isEditable());
    EXPECT_FALSE(w.sprites->isEditable());

    // The colours reach the screen: sample the inside of each field.
    const QImage shot = dlg.grab().toImage();
    const QPoint inPath = w.path->geometry().center() + QPoint(w.path->width() / 3, 0);
    EXPECT_EQ(QColor(shot.pixel(inPath)), QColor(0, 128, 0));
    const QPoint inInfo = w.info->geometry().bottomLeft() + QPoint(20, -10);
    EXPECT_EQ(QColor(shot.pixel(inInfo)), QColor(128, 0, 0));

    std::map<QString, QLabel*> labels;
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        labels[label->text()] = label;
    }
    for (const QString text : {"Objects:", "Sprites:", "Info:"}) {
        ASSERT_TRUE(labels.count(text)) << text.toStdString();
        const QFont font = labels[text]->font();
        EXPECT_EQ(font.pixelSize(), 14) << text.toStdString();
        EXPECT_EQ(font.weight(), QFont::Black) << text.toStdString();
        EXPECT_EQ(font.family(), dlg.font().family());
        // The heavy text fits its label.
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(text), labels[text]->width());
    }
    EXPECT_EQ(w.path->font().weight(), dlg.font().weight());
    // The labels sit beside their lists, and the lists end where the path field ends.
    EXPECT_LE(labels["Objects:"]->geometry().right(), w.objects->x());
    EXPECT_EQ(w.objects->geometry().right(), w.path->geometry().right());
    EXPECT_EQ(w.sprites->geometry(),
              w.objects->geometry().translated(0, w.sprites->y() - w.objects->y()));
}

TEST(MainWindow, BlankPreviewIsA256SquareFieldInsideATwoPixelSunkenBevel) {
    CMainDlg dlg;
    const QImage shot = dlg.grab().toImage();
    const QPoint o = dlg.PreviewOrigin();
    for (const QPoint& p :
         {o, o + QPoint(255, 0), o + QPoint(0, 255), o + QPoint(255, 255), o + QPoint(128, 128)}) {
        EXPECT_EQ(QColor(shot.pixel(p)), apptest::FieldColour(dlg)) << p.x() << "," << p.y();
    }
    // Inner bevel right around the field, outer bevel around that, then the dialog face.
    const std::pair<QPoint, QPalette::ColorRole> bevel[] = {
        {{-1, 10}, QPalette::Shadow},    {{10, -1}, QPalette::Shadow},
        {{256, 10}, QPalette::Midlight}, {{10, 256}, QPalette::Midlight},
        {{-2, 10}, QPalette::Dark},      {{10, -2}, QPalette::Dark},
        {{257, 10}, QPalette::Light},    {{10, 257}, QPalette::Light},
        {{-3, 10}, QPalette::Button},    {{258, 10}, QPalette::Button}};
    for (const auto& [at, role] : bevel) {
        EXPECT_EQ(QColor(shot.pixel(o + at)), Rgb(dlg.palette(), role)) << at.x() << "," << at.y();
    }
}

TEST(MainWindow, WaitCursorCoversTheWholeWindowOnlyWhileSaving) {
    CMainDlg dlg;
    WindowProbe w(dlg);
    const Qt::CursorShape pathCursor = w.path->cursor().shape();
    const Qt::CursorShape infoCursor = w.info->viewport()->cursor().shape();

    dlg.m_bSplitting = 1;
    dlg.OnSetCursor();
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor) << "a split leaves the cursor alone";
    dlg.m_bSplitting = 0;

    dlg.m_bSaving = 1;
    dlg.OnSetCursor();
    EXPECT_EQ(dlg.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(w.path->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(w.info->viewport()->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(w.Button("Exit")->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(w.objects->cursor().shape(), Qt::WaitCursor);

    dlg.m_bSaving = 0;
    dlg.OnSetCursor();
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w.path->cursor().shape(), pathCursor);
    EXPECT_EQ(w.info->viewport()->cursor().shape(), infoCursor);
    EXPECT_EQ(w.Button("Exit")->cursor().shape(), Qt::ArrowCursor);
}
