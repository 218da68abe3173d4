// The editor window itself: controls, texts, colours, job states, closing and the About box.
#include "WindowTest.h"
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

TEST_F(MainWindow, ButtonsTooltipsColoursAndJobControls) {
    EXPECT_EQ(dlg.windowTitle(), "Vornix v1.03");
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_FALSE(dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dlg.findChildren<QPushButton*>().size(), 19);
    EXPECT_TRUE(Button("Open SWD")->isDefault());
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        ASSERT_NE(Button(kButtons[i].first), nullptr);
        EXPECT_EQ(Button(kButtons[i].first)->toolTip(), kButtons[i].second);
        EXPECT_TRUE(i == 0 || Button(kButtons[i].first)->y() > Button(kButtons[i - 1].first)->y());
    }
    for (const bool on : {false, true}) {
        dlg.SetJobControlsEnabled(on);
        for (const auto& [text, tip] : kButtons) {
            EXPECT_EQ(Button(text)->isEnabled(), on) << text.toStdString();
        }
        EXPECT_EQ(objects->isEnabled() && sprites->isEnabled(), on);
        EXPECT_TRUE(path->isEnabled() && info->isEnabled());
    }
    // The fields' colours and the blank preview field reach the screen.
    EXPECT_TRUE(path->isReadOnly() && info->isReadOnly());
    EXPECT_EQ(path->palette().color(QPalette::Text), QColor(128, 255, 128));
    EXPECT_EQ(info->palette().color(QPalette::Text), QColor(255, 255, 0));
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(path->geometry().center() + QPoint(path->width() / 3, 0))),
              QColor(0, 128, 0));
    EXPECT_EQ(QColor(shot.pixel(info->geometry().bottomLeft() + QPoint(20, -10))),
              QColor(128, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(dlg.PreviewOrigin() + QPoint(255, 255))), FieldColour(dlg));
    EXPECT_EQ(QColor(shot.pixel(dlg.PreviewOrigin() - QPoint(1, 1))),
              QColor(dlg.palette().color(QPalette::Shadow).rgb()));
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        if (label != preview) {
            EXPECT_EQ(label->font().weight(), QFont::Black) << label->text().toStdString();
        }
    }
}

TEST_F(MainWindow, WaitCursorCoversTheWholeWindowOnlyWhileSaving) {
    dlg.m_bSplitting = 1;
    dlg.OnSetCursor();
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor) << "a split leaves the cursor alone";
    dlg.m_bSplitting = 0;
    for (const int saving : {1, 0}) {
        dlg.m_bSaving = saving;
        dlg.OnSetCursor();
        for (const QWidget* part : {static_cast<QWidget*>(&dlg), static_cast<QWidget*>(path),
                                    static_cast<QWidget*>(Button("Exit"))}) {
            EXPECT_EQ(part->cursor().shape() == Qt::WaitCursor, saving == 1);
        }
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
            EXPECT_TRUE(about->findChild<QPushButton*>()->isDefault());
            Click(about, "OK");
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
    WhenShown<QMenu>([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
                     [](QMenu* menu) {
                         QAction* about = menu->actions().constLast();
                         EXPECT_EQ(about->text(), "&About Vornix...");
                         menu->setActiveAction(about);
                         QTest::keyClick(menu, Qt::Key_Return);
                     },
                     "popup menu");
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    EXPECT_EQ(texts.value(0), "About Vornix");
}
