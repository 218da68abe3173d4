// Exit, Escape and the close box through the closing check; the About box.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "app/CAboutDlg.h"
#include "app/DialogUnits.h"

#include <QContextMenuEvent>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

// Answers the next question box with `answer` and returns its text.
QString Answer(QMessageBox::StandardButton answer, const std::function<void()>& trigger) {
    QString text;
    WhenModal<QMessageBox>([&text, answer](QMessageBox* box) {
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->windowTitle(), "Vornix");
        EXPECT_NE(box->button(QMessageBox::Yes), nullptr);
        box->button(answer)->click();
    });
    trigger();
    return text;
}

} // namespace

TEST(Closing, ExitEscapeAndCloseBoxCloseAtOnceWhenNoJobRuns) {
    for (int way = 0; way < 3; ++way) {
        CMainDlg dlg;
        WindowProbe w(dlg);
        dlg.show();
        ASSERT_TRUE(dlg.isVisible());
        if (way == 0) {
            QTest::mouseClick(w.Button("Exit"), Qt::LeftButton);
        } else if (way == 1) {
            QTest::keyClick(&dlg, Qt::Key_Escape);
        } else {
            dlg.close();
        }
        EXPECT_FALSE(dlg.isVisible()) << way;
        EXPECT_EQ(dlg.result(), QDialog::Rejected) << way;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(Closing, RunningSaveAsksAndKeepsTheWindowOpen) {
    CMainDlg dlg;
    dlg.show();
    dlg.m_bSaving = 1;
    dlg.OnSetCursor();
    EXPECT_EQ(Answer(QMessageBox::No, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); }),
              "Do you wish to cancel saving?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_bSaving.load(), 1);
    EXPECT_EQ(dlg.cursor().shape(), Qt::WaitCursor);

    EXPECT_EQ(Answer(QMessageBox::Yes, [&] { dlg.close(); }), "Do you wish to cancel saving?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_bSaving.load(), 0);
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
}

TEST(Closing, RunningSplitAsksAndKeepsTheWindowOpen) {
    CMainDlg dlg;
    WindowProbe w(dlg);
    dlg.show();
    dlg.m_bSplitting = 1;
    EXPECT_EQ(Answer(QMessageBox::No, [&] { dlg.accept(); }), "Do you wish to cancel spliting?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_bSplitting.load(), 1);
    EXPECT_EQ(
        Answer(QMessageBox::Yes, [&] { QTest::mouseClick(w.Button("Exit"), Qt::LeftButton); }),
        "Do you wish to cancel spliting?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_bSplitting.load(), 0);

    // With both flags set the save is asked about first.
    dlg.m_bSaving = 1;
    dlg.m_bSplitting = 1;
    EXPECT_EQ(Answer(QMessageBox::Yes, [&] { dlg.reject(); }), "Do you wish to cancel saving?");
    EXPECT_EQ(dlg.m_bSplitting.load(), 1);
    EXPECT_TRUE(dlg.isVisible());
    dlg.m_bSplitting = 0;
    dlg.reject();
    EXPECT_FALSE(dlg.isVisible());
}

namespace {

QString Placed(const QString& what, const QRect& r) {
    return QString("%1 @%2,%3 %4x%5")
        .arg(what)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// Every text the About box shows, with where it shows it.
QStringList AboutContent(CAboutDlg* about) {
    QStringList content{about->windowTitle(),
                        QString("%1x%2").arg(about->width()).arg(about->height())};
    for (QWidget* child : about->findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(child)) {
            text = label->pixmap().isNull() ? label->text() : "<icon>";
        } else if (auto* field = qobject_cast<QLineEdit*>(child)) {
            text = "field:" + field->text();
        } else if (auto* button = qobject_cast<QPushButton*>(child)) {
            text = "button:" + button->text();
        } else {
            continue;
        }
        content.append(Placed(text, child->geometry()));
    }
    return content;
}

} // namespace

TEST(About, OpensTwiceWithTheSameContentAndChangesNothing) {
    CMainDlg dlg;
    WindowProbe w(dlg);
    QStringList first, second;
    const auto capture = [](QStringList& into) {
        WhenModal<CAboutDlg>([&into](CAboutDlg* about) {
            into = AboutContent(about);
            auto* field = about->findChild<QLineEdit*>();
            EXPECT_TRUE(field != nullptr && field->isReadOnly() && !field->hasFrame());
            QPushButton* ok = about->findChild<QPushButton*>();
            ASSERT_NE(ok, nullptr);
            EXPECT_TRUE(ok->isDefault());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
    };
    capture(first);
    dlg.OnAboutBox();
    capture(second);
    dlg.OnAboutBox();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.value(0), "About Vornix");
    const QString all = first.join('\n');
    EXPECT_TRUE(all.contains("Vornix Version 1.03 @"));
    EXPECT_TRUE(
        all.contains("This Program Is For To Edit The Sprites Stored In SWD Files Used With "
                     "Tomb Raider Level Editors @"));
    EXPECT_TRUE(all.contains("07/08/2014 - 08/02/2014\tv1.00\n08/03/2014 - 08/08/2014\tv1.01\n"
                             "08/08/2014 - 08/09/2014\tv1.02\n08/21/2014 - 08/30/2014\tv1.03 @"));
    EXPECT_TRUE(all.contains("<icon> @"));
    EXPECT_EQ(first.value(1), QString("%1x%2").arg(dlgunits::X(192)).arg(dlgunits::Y(177)));
    EXPECT_TRUE(first.contains(Placed("button:OK", dlgunits::Rect(70, 155, 50, 14))))
        << all.toStdString();
    EXPECT_TRUE(first.contains(Placed("field:", dlgunits::Rect(85, 85, 90, 12))))
        << all.toStdString();
    EXPECT_TRUE(dlg.isEnabled());
    EXPECT_TRUE(w.path->text().isEmpty());
}

TEST(About, ContextMenuAndF1OpenIt) {
    CMainDlg dlg;
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));

    int opened = 0;
    const auto closeAbout = [&opened]() {
        WhenModal<CAboutDlg>([&opened](CAboutDlg* about) {
            ++opened;
            about->accept();
        });
    };
    closeAbout();
    QTest::keyClick(&dlg, Qt::Key_F1);
    EXPECT_EQ(opened, 1);

    closeAbout();
    apptest::WhenPopupMenu([](QMenu* menu) {
        QAction* about = menu->actions().constLast();
        EXPECT_EQ(about->text(), "&About Vornix...");
        menu->setActiveAction(about);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    EXPECT_EQ(opened, 2);
}
