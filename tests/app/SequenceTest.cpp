// Moving a texture with its keys and playing a sequence, in the real window.
#include "WindowTest.h"
#include "app/AppSettings.h"
#include "app/CSplitOptionsDlg.h"

using namespace apptest;

namespace {

// A clock turned by hand, one frame a turn.
struct HandClock : FrameClock {
    void Start(std::chrono::milliseconds, std::function<void()> tick) override { turn = tick; }
    void Stop() override { turn = nullptr; }
    bool Runs() const override { return turn != nullptr; }
    std::function<void()> turn;
};

// SmallWad: 463 (selected) owns 56x56, 1x1, 256x3; 460 owns 64x64, 32x16; 494 none.
class Sequence : public WindowTest {
protected:
    Sequence() {
        Open(fixtures::SmallWad().Build());
        dlg.SetFrameClock(std::unique_ptr<FrameClock>(clock));
        Activate();
    }
    // The widths on the Sprites list's lines, the selected line and the width the preview shows.
    std::string Shown() const {
        std::string out;
        for (const QString& line : SpriteLines()) {
            out += line.section('(', 1).section(' ', 0, 0).toStdString() + " ";
        }
        return out + "#" + std::to_string(sprites->currentIndex()) + " " +
               std::to_string(preview->pixmap().width());
    }
    HandClock* clock = new HandClock;
};

TEST_F(Sequence, KeysMoveTheSelectedTextureAndTheSelectionFollowsButNotPastTheEnds) {
    const std::tuple<int, Qt::Key, const char*, bool> rows[] = {
        {0, Qt::Key_Down, "1 56 256 #1 56", true}, {2, Qt::Key_Up, "56 256 1 #1 256", true},
        {0, Qt::Key_Up, "56 1 256 #0 56", false},  {2, Qt::Key_Down, "56 1 256 #2 256", false},
        {-1, Qt::Key_Down, "#-1 64", false}, // object 494 has no lines; 460 was shown on the way
    };
    for (const auto& [line, key, after, moves] : rows) {
        SCOPED_TRACE(after);
        ASSERT_TRUE(dlg.OpenSwdFile(Path("doc.swd")));
        line >= 0 ? Select(sprites, line) : Select(objects, 2);
        EXPECT_EQ(ModalsDuring([&] { QTest::keyClick(&dlg, key, Qt::ControlModifier); }), 0);
        EXPECT_EQ(Shown(), after);
        EXPECT_EQ(dlg.UndoText(), moves ? "Undo Move Texture" : "");
    }
}

// While a split feeds the object, moving changes nothing and asks nothing.
TEST_F(Sequence, MovingDoesNothingWhileAJobRuns) {
    bool checked = false;
    QObject::connect(sprites->model(), &QAbstractItemModel::rowsInserted, &dlg, [&] {
        if (!checked && dlg.JobRuns()) {
            const SpriteWad before = dlg.Wad();
            // The split's dialogs took the focus: the keys' handlers are called as they are.
            EXPECT_EQ(ModalsDuring([&] { dlg.OnMoveTextureUp(), dlg.OnMoveTextureDown(); }), 0);
            checked = dlg.Wad() == before;
        }
    });
    AnswerFileDialog(WriteImage("split.png", fixtures::MakeTexture(300, 200, 5)));
    WhenModal<CSplitOptionsDlg>([](CSplitOptionsDlg* d) { Click(d, "OK"); });
    Press("Add Split Texture");
    WaitForJobs();
    sprites->model()->disconnect(&dlg);
    EXPECT_TRUE(checked);
}

// Frames follow the lines from the selected one and wrap, leaving the selection and the wad;
// Escape, a selection change, Stop Sequence and a click on any button stop it and show the
// selected texture again.
TEST_F(Sequence, PlayShowsTheLinesInTurnUntilAnythingStopsIt) {
    Select(sprites, 1);
    const SpriteWad before = dlg.Wad();
    dlg.PlaySequence();
    std::string frames;
    for (int turn = 0; turn < 4; ++turn) {
        clock->turn();
        frames += Shown() + ", ";
    }
    EXPECT_EQ(frames, "56 1 256 #1 256, 56 1 256 #1 56, 56 1 256 #1 1, 56 1 256 #1 256, ");
    EXPECT_TRUE(dlg.Wad() == before);
    std::vector<std::pair<QString, std::function<void()>>> stops = {
        {"Escape", [&] { QTest::keyClick(&dlg, Qt::Key_Escape); }},
        {"selection", [&] { Select(sprites, 2); }},
        {"Move Texture Down", [&] { QTest::keyClick(&dlg, Qt::Key_Down, Qt::ControlModifier); }},
        {"Stop Sequence", [&] { dlg.StopSequence(); }}};
    for (int b = 0; b < CMainDlg::kButtonCount; ++b) {
        QPushButton* button = dlg.ButtonAt(static_cast<CMainDlg::Button>(b));
        stops.emplace_back(button->text(), [button] { QTest::mouseClick(button, Qt::LeftButton); });
    }
    for (const auto& [name, stop] : stops) {
        SCOPED_TRACE(name.toStdString());
        Activate();
        ASSERT_TRUE(dlg.OpenSwdFile(Path("doc.swd")));
        Select(sprites, 1);
        dlg.PlaySequence();
        clock->turn();
        ModalsDuring(stop);
        EXPECT_FALSE(clock->Runs());
        EXPECT_EQ(name == "Exit", !dlg.isVisible());
        const int line = sprites->currentIndex();
        if (line >= 0 && dlg.isVisible()) {
            const SpriteTexture& selected = dlg.Wad().ObjectTexture(objects->currentIndex(), line);
            EXPECT_EQ(PreviewImage(), ReferenceImage(selected));
        }
    }
}

// Opens the context menu over the preview, or with the menu key, and picks `entry` there; returns
// every entry in order, with what is off (-) and checked (*).
std::string ChooseFromPreviewMenu(CMainDlg& dlg, const QString& entry,
                                  QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse) {
    QStringList entries;
    WhenShown<QMenu>([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
                     [&entries, entry](QMenu* menu) {
                         QList<QAction*> actions = menu->actions();
                         QAction* chosen = nullptr;
                         for (qsizetype i = 0; i < actions.size(); ++i) {
                             QAction* a = actions[i];
                             chosen = chosen == nullptr && a->text() == entry ? a : chosen;
                             entries.append(a->isSeparator()
                                                ? "|"
                                                : a->text() + (a->isEnabled() ? "" : "-") +
                                                      (a->isChecked() ? "*" : ""));
                             if (a->menu() != nullptr) {
                                 actions.append(a->menu()->actions());
                             }
                         }
                         menu->setActiveAction(chosen);
                         QTest::keyClick(menu, Qt::Key_Return);
                     },
                     "context menu");
    const QPoint at = reason == QContextMenuEvent::Mouse ? dlg.PreviewFrame().center() : QPoint();
    QContextMenuEvent event(reason, at, dlg.mapToGlobal(at));
    QApplication::sendEvent(&dlg, &event);
    return entries.join(QChar(u',')).toStdString();
}

// Play Sequence chosen there starts playing; Show magenta as transparent, the zoom and the pace
// are kept for the next run as soon as they are chosen.
TEST_F(Sequence, PreviewMenuOffersItsEntriesAndPlaysFromThere) {
    EXPECT_EQ(ChooseFromPreviewMenu(dlg, "Play Sequence"),
              "Undo-,Redo-,|,Move Texture Up-,Move Texture Down,|,Show magenta as transparent,"
              "Zoom,|,Play Sequence,Stop Sequence-,Frames per Second...,|,&About Vornix...,"
              "1\u00D7*,2\u00D7,4\u00D7,8\u00D7,Fit");
    EXPECT_TRUE(clock->Runs());
    // The menu key, which points at no place, offers the preview's entries too.
    ChooseFromPreviewMenu(dlg, "Stop Sequence", QContextMenuEvent::Keyboard);
    EXPECT_FALSE(clock->Runs());
    ChooseFromPreviewMenu(dlg, "Show magenta as transparent");
    EXPECT_TRUE(AppSettings().Choices().magentaTransparent);
    const int width = PreviewImage().width();
    dlg.SetPreviewZoom(2);
    EXPECT_EQ(PreviewImage().width(), 2 * width);
    EXPECT_EQ(AppSettings().Choices().previewZoom, 2);
    WhenModal<QInputDialog>([](QInputDialog* d) { d->setIntValue(24), d->accept(); });
    dlg.OnFramesPerSecond();
    EXPECT_EQ(AppSettings().Choices().framesPerSecond, 24);
}

} // namespace
