// The editor window itself: controls, texts, job states, closing and the About box.
#include "WindowTest.h"
#include "app/CAboutDlg.h"

using namespace apptest;
using MainWindow = WindowTest;

TEST_F(MainWindow, ButtonsTooltipsGroupsAndTheAboutBox) {
    const std::pair<QString, QString> buttons[] = {
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
    EXPECT_EQ(dlg.windowTitle(), "Vornix v1.03");
    // One column in seven groups: a wider step starts each group after the first.
    std::vector<int> y, groupStarts;
    for (const auto& [text, tooltip] : buttons) {
        ASSERT_NE(Button(text), nullptr);
        EXPECT_EQ(Button(text)->toolTip(), tooltip);
        y.push_back(Button(text)->y());
        if (y.size() > 2 && y.back() - y[y.size() - 2] > y[2] - y[1]) {
            groupStarts.push_back(static_cast<int>(y.size()) - 1);
        }
    }
    EXPECT_TRUE(std::is_sorted(y.begin(), y.end()));
    EXPECT_EQ(groupStarts, (std::vector<int>{6, 11, 14, 16, 18}));
    EXPECT_GT(y[1] - y[0], y[2] - y[1]);
    for (const QWidget* part : std::initializer_list<QWidget*>{path, objects, sprites, info}) {
        EXPECT_TRUE(dlg.rect().contains(part->geometry())) << part->objectName().toStdString();
    }
    EXPECT_TRUE(path->isReadOnly() && info->isReadOnly());
    // The path is light green on green, the Info pane yellow on maroon.
    EXPECT_EQ(path->palette().text().color().name() + path->palette().base().color().name() +
                  info->palette().text().color().name() + info->palette().base().color().name(),
              "#80ff80#008000#ffff00#800000");
    // The three labels, and only they, are 14 pixels high and heavy.
    QStringList heavy;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        if (label->font().pixelSize() == 14 && label->font().weight() == QFont::Black) {
            heavy << label->text();
        }
    }
    EXPECT_EQ(heavy, (QStringList{"Objects:", "Sprites:", "Info:"}));
    // F1 opens the About box.
    Activate();
    QStringList texts;
    WhenModal<CAboutDlg>([&texts](CAboutDlg* about) {
        for (const QLabel* label : about->findChildren<QLabel*>()) {
            texts << label->text();
        }
        EXPECT_EQ(about->focusWidget(), FindButton(about, "OK"));
        Click(about, "OK");
    });
    QTest::keyClick(&dlg, Qt::Key_F1);
    EXPECT_TRUE(texts.contains("Vornix Version 1.03")) << texts.join('|').toStdString();
}

TEST_F(MainWindow, ClosingClosesAtOnceOrAsksAboutTheRunningJob) {
    dlg.show();
    const std::function<void()> ways[] = {[&] { Press("Exit"); }, [&] { dlg.close(); },
                                          [&] { dlg.accept(); }};
    const struct {
        int saving, splitting;
        QMessageBox::StandardButton answer;
        QString question;
        int savingAfter, splittingAfter;
    } cases[] = {
        {1, 0, QMessageBox::No, "Do you wish to cancel saving?", 1, 0},
        {0, 1, QMessageBox::Yes, "Do you wish to cancel spliting?", 0, 0},
        {1, 1, QMessageBox::Yes, "Do you wish to cancel saving?", 0, 1},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        dlg.m_bSaving = cases[i].saving;
        dlg.m_bSplitting = cases[i].splitting;
        QString question;
        AnswerMessage(&question, cases[i].answer);
        ways[i]();
        EXPECT_EQ(question, cases[i].question);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.m_bSaving.load(), cases[i].savingAfter);
        EXPECT_EQ(dlg.m_bSplitting.load(), cases[i].splittingAfter);
    }
}

// With nothing on show the preview is a field a shade darker than the window in a sunken
// two-pixel bevel: dark and shadow above and to the left, light and midlight below and right.
TEST_F(MainWindow, PreviewFrameIsASunkenDarkerField) {
    const QImage shown = dlg.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect f = dlg.PreviewFrame();
    const QPoint c = f.center();
    const QPalette& pal = dlg.palette();
    const QColor face = pal.color(QPalette::Button);
    EXPECT_EQ(shown.pixel(c), qRgb(face.red() - 16, face.green() - 16, face.blue() - 16));
    for (const auto& [d, topLeft, bottomRight] : {std::tuple{2, QPalette::Dark, QPalette::Light},
                                                  {1, QPalette::Shadow, QPalette::Midlight}}) {
        SCOPED_TRACE(d);
        EXPECT_EQ(shown.pixel(f.left() - d, c.y()), pal.color(topLeft).rgb());
        EXPECT_EQ(shown.pixel(c.x(), f.top() - d), pal.color(topLeft).rgb());
        EXPECT_EQ(shown.pixel(f.right() + d, c.y()), pal.color(bottomRight).rgb());
        EXPECT_EQ(shown.pixel(c.x(), f.bottom() + d), pal.color(bottomRight).rgb());
    }
}
