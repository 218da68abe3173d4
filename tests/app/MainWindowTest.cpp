// The editor window itself: controls, texts, colours, job states, closing and the About box.
#include "WindowProbe.h"
#include "app/CAboutDlg.h"
#include "app/DialogUnits.h"

#include <QContextMenuEvent>
#include <QTest>

using namespace apptest;
using MainWindow = WindowTest;

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

} // namespace

TEST_F(MainWindow, ButtonsTooltipsGroupsAndJobControls) {
    EXPECT_EQ(dlg.windowTitle(), "Vornix v1.03");
    EXPECT_TRUE(w.path->text().isEmpty() && w.info->toPlainText().isEmpty());
    EXPECT_EQ(w.objects->count() + w.sprites->count(), 0);
    EXPECT_EQ(dlg.findChildren<QPushButton*>().size(), 19);
    EXPECT_TRUE(w.Button("Open SWD")->isDefault());
    // One column, top to bottom; six wider gaps part the seven groups.
    std::vector<std::size_t> wide;
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const QPushButton* b = w.Button(kButtons[i].first);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->toolTip(), kButtons[i].second);
        EXPECT_EQ(b->x(), w.Button("Open SWD")->x());
        if (i > 0) {
            const int gap = b->y() - w.Button(kButtons[i - 1].first)->geometry().bottom();
            EXPECT_GT(gap, 0) << "buttons overlap or are out of order";
            if (gap >
                w.Button("Delete Object")->y() - w.Button("Add Object")->geometry().bottom() + 2) {
                wide.push_back(i);
            }
        }
    }
    EXPECT_EQ(wide, (std::vector<std::size_t>{1, 6, 11, 14, 16, 18}));
    for (const bool on : {false, true}) {
        dlg.SetJobControlsEnabled(on);
        for (const auto& [text, tip] : kButtons) {
            EXPECT_EQ(w.Button(text)->isEnabled(), on) << text.toStdString();
        }
        EXPECT_EQ(w.objects->isEnabled() && w.sprites->isEnabled(), on);
        EXPECT_TRUE(w.path->isEnabled() && w.info->isEnabled());
    }
}

TEST_F(MainWindow, FixedSizeColoursFontsAndTheBlankPreviewBevel) {
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(dlg.windowIcon().pixmap(16, 16).isNull());
    EXPECT_TRUE(w.path->isReadOnly() && w.info->isReadOnly());
    EXPECT_FALSE(w.objects->isEditable() || w.sprites->isEditable());
    EXPECT_EQ(w.info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.path->palette().color(QPalette::Text), QColor(128, 255, 128));
    EXPECT_EQ(w.info->palette().color(QPalette::Text), QColor(255, 255, 0));
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(w.path->geometry().center() + QPoint(w.path->width() / 3, 0))),
              QColor(0, 128, 0));
    EXPECT_EQ(QColor(shot.pixel(w.info->geometry().bottomLeft() + QPoint(20, -10))),
              QColor(128, 0, 0));
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        if (label != w.preview) {
            EXPECT_TRUE(QStringList({"Objects:", "Sprites:", "Info:"}).contains(label->text()));
            EXPECT_EQ(label->font().pixelSize(), 14);
            EXPECT_EQ(label->font().weight(), QFont::Black);
        }
    }
    EXPECT_EQ(w.objects->geometry().right(), w.path->geometry().right());
    // A 256-pixel field inside a two-pixel sunken bevel.
    const QPoint o = dlg.PreviewOrigin();
    for (const QPoint& p : {o, o + QPoint(255, 255)}) {
        EXPECT_EQ(QColor(shot.pixel(p)), FieldColour(dlg));
    }
    const std::pair<QPoint, QPalette::ColorRole> bevel[] = {{{-1, 10}, QPalette::Shadow},
                                                            {{256, 10}, QPalette::Midlight},
                                                            {{10, -2}, QPalette::Dark},
                                                            {{10, 257}, QPalette::Light},
                                                            {{-3, 10}, QPalette::Button}};
    for (const auto& [at, role] : bevel) {
        EXPECT_EQ(QColor(shot.pixel(o + at)), QColor(dlg.palette().color(role).rgb())) << role;
    }
}

TEST_F(MainWindow, WaitCursorCoversTheWholeWindowOnlyWhileSaving) {
    const Qt::CursorShape pathCursor = w.path->cursor().shape();
    dlg.m_bSplitting = 1;
    dlg.OnSetCursor();
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor) << "a split leaves the cursor alone";
    dlg.m_bSplitting = 0;
    for (const int saving : {1, 0}) {
        dlg.m_bSaving = saving;
        dlg.OnSetCursor();
        for (const QWidget* part : {static_cast<QWidget*>(&dlg), static_cast<QWidget*>(w.objects),
                                    static_cast<QWidget*>(w.Button("Exit"))}) {
            EXPECT_EQ(part->cursor().shape(), saving ? Qt::WaitCursor : Qt::ArrowCursor);
        }
        EXPECT_EQ(w.path->cursor().shape(), saving ? Qt::WaitCursor : pathCursor);
    }
}

TEST_F(MainWindow, ClosingClosesAtOnceOrAsksAboutTheRunningJob) {
    dlg.show();
    const std::function<void()> ways[] = {[&] { Press("Exit"); },
                                          [&] { QTest::keyClick(&dlg, Qt::Key_Escape); },
                                          [&] { dlg.close(); }, [&] { dlg.accept(); }};
    const struct {
        int saving, splitting;
        QMessageBox::StandardButton answer;
        QString question;
        int savingAfter, splittingAfter;
    } cases[] = {
        {1, 0, QMessageBox::No, "Do you wish to cancel saving?", 1, 0},
        {1, 0, QMessageBox::Yes, "Do you wish to cancel saving?", 0, 0},
        {0, 1, QMessageBox::No, "Do you wish to cancel spliting?", 0, 1},
        {0, 1, QMessageBox::Yes, "Do you wish to cancel spliting?", 0, 0},
        {1, 1, QMessageBox::Yes, "Do you wish to cancel saving?", 0, 1},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        dlg.m_bSaving = cases[i].saving;
        dlg.m_bSplitting = cases[i].splitting;
        QString question;
        AnswerMessage(&question, cases[i].answer);
        ways[i % 4]();
        EXPECT_EQ(question, cases[i].question);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.m_bSaving.load(), cases[i].savingAfter);
        EXPECT_EQ(dlg.m_bSplitting.load(), cases[i].splittingAfter);
    }
    dlg.m_bSplitting = 0;
    for (const auto& way : ways) {
        dlg.show();
        way();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), &way == &ways[3] ? QDialog::Accepted : QDialog::Rejected);
    }
}

TEST_F(MainWindow, AboutBoxFromF1AndTheContextMenu) {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QStringList texts;
    const auto closeAbout = [&texts] {
        WhenModal<CAboutDlg>([&texts](CAboutDlg* about) {
            texts = {about->windowTitle()};
            for (const QLabel* label : about->findChildren<QLabel*>()) {
                texts << label->text();
            }
            EXPECT_EQ(about->size(), QSize(dlgunits::X(192), dlgunits::Y(177)));
            auto* field = about->findChild<QLineEdit*>();
            EXPECT_TRUE(field != nullptr && field->isReadOnly() && !field->hasFrame());
            EXPECT_EQ(field->geometry(), dlgunits::Rect(85, 85, 90, 12));
            QPushButton* ok = about->findChild<QPushButton*>();
            EXPECT_EQ(ok->geometry(), dlgunits::Rect(70, 155, 50, 14));
            EXPECT_TRUE(ok->text() == "OK" && ok->isDefault());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
    };
    closeAbout();
    QTest::keyClick(&dlg, Qt::Key_F1);
    EXPECT_EQ(texts.value(0), "About Vornix");
    for (const QString text :
         {"Vornix Version 1.03",
          "This Program Is For To Edit The Sprites Stored In SWD Files Used "
          "With Tomb Raider Level Editors",
          "07/08/2014 - 08/02/2014\tv1.00\n08/03/2014 - 08/08/2014\tv1.01\n08/08/2014 - "
          "08/09/2014\tv1.02\n08/21/2014 - 08/30/2014\tv1.03"}) {
        EXPECT_TRUE(texts.contains(text)) << text.toStdString();
    }
    texts.clear();
    closeAbout();
    WhenPopupMenu([](QMenu* menu) {
        QAction* about = menu->actions().constLast();
        EXPECT_EQ(about->text(), "&About Vornix...");
        menu->setActiveAction(about);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    EXPECT_EQ(texts.value(0), "About Vornix");
}
