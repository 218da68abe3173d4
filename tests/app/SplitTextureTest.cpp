// Add Split Texture through the real window: the image dialog, the options dialog, the job on
// its worker thread, Stop and the closing question.
#include "WindowTest.h"
#include "app/CSplitOptionsDlg.h"
#include "support/SplitExpectations.h"

#include <QAbstractItemModel>
#include <QRadioButton>
#include <QTest>

using namespace apptest;

namespace {

const QString kAllowSmaller = "Allow pieces to be smaller than selected size.";
const QString kPad = "Make all pieces the selected size and fill unused space with magenta color.";

bool Checked(QWidget* dialog, const QString& text) {
    for (const QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            return button->isChecked();
        }
    }
    ADD_FAILURE() << "no option " << text.toStdString();
    return false;
}

// Picks a size button (and for Custom types the sides), a piece policy and presses OK.
void Answer(CSplitOptionsDlg* dialog, const QString& size, int width, int height, bool pad) {
    Click(dialog, size);
    if (size == "Custom") {
        Type(Field(dialog, "width"), QString::number(width));
        Type(Field(dialog, "height"), QString::number(height));
    }
    Click(dialog, pad ? kPad : kAllowSmaller);
    Click(dialog, "OK");
    EXPECT_FALSE(dialog->isVisible()) << "the options were refused";
}

// SmallWad: 463 (selected) owns textures 2..4, 460 owns 0..1, 494 is empty.
class SplitTexture : public WindowTest {
protected:
    SplitTexture() { Open(fixtures::SmallWad().Build()); }

    // Clicks Add Split Texture, picks `file` and answers the options dialog with `answer`.
    void Start(const QString& file, std::function<void(CSplitOptionsDlg*)> answer) {
        AnswerFileDialog(file);
        WhenModal<CSplitOptionsDlg>(std::move(answer));
        Press("Add Split Texture");
    }

    // Calls `act` once, when the Sprites list has reached `count` lines during the job.
    void AtCount(int count, std::function<void()> act) {
        auto done = std::make_shared<bool>(false);
        QObject::connect(sprites->model(), &QAbstractItemModel::rowsInserted, &dlg, [=, this] {
            if (!*done && sprites->count() == count) {
                *done = true;
                act();
            }
        });
    }

    // Runs the window until the job has ended and given the button back (after a Stop the
    // flag is clear before the worker has restored the window), then checks it is idle.
    void ExpectIdle() {
        QElapsedTimer clock;
        clock.start();
        while ((dlg.m_bSplitting.load() != 0 ||
                dlg.ButtonAt(CMainDlg::kAddSplitTexture)->text() != "Add Split Texture") &&
               clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        sprites->model()->disconnect(&dlg);
        for (QPushButton* button : dlg.findChildren<QPushButton*>()) {
            EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();
        }
        EXPECT_EQ(dlg.ButtonAt(CMainDlg::kAddSplitTexture)->toolTip(),
                  "Adds new textures from one image\nby spliting it into many pieces");
        EXPECT_TRUE(objects->isEnabled() && sprites->isEnabled());
    }
};

TEST_F(SplitTexture, PiecesGoBehindTheSelectedObjectsTexturesAndTheChoicesAreKept) {
    const QStringList grid = {"Texture 3 :  (128 x 128)", "Texture 4 :  (128 x 128)",
                              "Texture 5 :  (44 x 128)",  "Texture 6 :  (128 x 72)",
                              "Texture 7 :  (128 x 72)",  "Texture 8 :  (44 x 72)"};
    const struct {
        int imageWidth, imageHeight;
        QString size;
        int width, height;
        bool pad;
        QStringList newLines;
    } cases[] = {
        {300, 200, "128 x 128", 128, 128, false, grid},
        {100, 50, "256 x 256", 256, 256, true, {"Texture 3 :  (256 x 256)"}},
        {3, 2, "Custom", 1, 1, false, QStringList(6, "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size.toStdString());
        Open(fixtures::SmallWad().Build());
        const BTCImageData image = fixtures::MakeTexture(c.imageWidth, c.imageHeight, 5);
        Start(WriteImage("split.png", image),
              [&](CSplitOptionsDlg* d) { Answer(d, c.size, c.width, c.height, c.pad); });
        ExpectIdle();
        const int pieces = static_cast<int>(c.newLines.size());
        const QStringList lines = SpriteLines();
        ASSERT_EQ(lines.size(), 3 + pieces);
        if (!c.newLines[0].isEmpty()) {
            EXPECT_EQ(lines.mid(3), c.newLines);
        }
        EXPECT_EQ(sprites->currentIndex(), 2 + pieces);
        EXPECT_EQ(ObjectLines()[0], QString("463: DEFAULT_SPRITES  Textures=%1").arg(3 + pieces));
        const auto& all = dlg.Document().m_textures;
        EXPECT_TRUE(fixtures::PiecesMatchSplit(image, c.width, c.height, c.pad,
                                               {all.begin() + 5, all.begin() + 5 + pieces}));
        EXPECT_EQ(PreviewImage(), ReferenceImage(all[4 + static_cast<std::size_t>(pieces)]));
        EXPECT_EQ(dlg.m_nSplitWidth, c.width);
        EXPECT_EQ(dlg.m_nSplitHeight, c.height);
        EXPECT_EQ(dlg.m_nSplitPiecePolicy, c.pad ? 1 : 0);
    }
    // The dialog opens on the last choice; Escape keeps the sizes last accepted.
    Start(WriteImage("2.png", fixtures::MakeTexture(2, 1, 2)), [](CSplitOptionsDlg* d) {
        EXPECT_TRUE(Checked(d, "Custom") && Checked(d, kAllowSmaller));
        EXPECT_EQ(Field(d, "width")->text(), "1");
        Type(Field(d, "width"), "20");
        Click(d, kPad);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    ExpectIdle();
    EXPECT_EQ(sprites->count(), 3 + 6 + 2);
    EXPECT_EQ(dlg.m_nSplitWidth, 1);
    EXPECT_EQ(dlg.m_nSplitSizeChoice, 4);
    EXPECT_EQ(dlg.m_nSplitPiecePolicy, 1);
}

// Stop, or Escape answered Yes, ends the job after the pieces so far; answered No, it goes on.
TEST_F(SplitTexture, StopAndEscapeDuringTheJob) {
    dlg.show();
    const QString file =
        WriteImage("64.png", fixtures::MakeTexture(64, 64, 2)); // 64 pieces of 8 x 8
    const struct {
        int at;
        bool escape;
        QMessageBox::StandardButton answer;
        int added;
    } cases[] = {{1, false, {}, 1},
                 {63, false, {}, 63},
                 {2, true, QMessageBox::No, 64},
                 {2, true, QMessageBox::Yes, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        Open(fixtures::SmallWad().Build());
        QString question;
        AtCount(3 + c.at, [&] {
            EXPECT_EQ(Button("Stop")->toolTip(), "Stops the splitting thread");
            for (const char* text : {"Open SWD", "Delete Texture", "Save As SWD", "Exit"}) {
                EXPECT_FALSE(Button(text)->isEnabled()) << text;
            }
            EXPECT_FALSE(objects->isEnabled() || sprites->isEnabled());
            if (c.escape) {
                AnswerMessage(&question, c.answer);
                QTest::keyClick(&dlg, Qt::Key_Escape);
                return;
            }
            Press("Stop");
            // Until the worker has ended, a second click only stops again: no new job starts.
            EXPECT_EQ(ModalsDuring([this] { Press("Stop"); }), 0);
        });
        Start(file, [](CSplitOptionsDlg* d) { Answer(d, "Custom", 8, 8, false); });
        ExpectIdle();
        EXPECT_EQ(question, c.escape ? "Do you wish to cancel spliting?" : "");
        EXPECT_EQ(sprites->count(), 3 + c.added);
        EXPECT_EQ(dlg.Document().TextureCount(), 5u + static_cast<unsigned>(c.added));
    }
}

TEST_F(SplitTexture, AFullObjectOrARefusedImageEndsTheJobWithAMessage) {
    // Object 464 with 32 765 one-pixel sprites: two more pieces fit, the third does not.
    fixtures::SwdBuilder b;
    for (int i = 0; i < 32765; ++i) {
        b.Entry(0, 0, 0, 1, 1);
    }
    Open(b.Page(fixtures::MakeTexture(256, 256, 1)).Sequence(464, -32765, 0).Build());
    QString message;
    AnswerMessage(&message);
    Start(WriteImage("5.png", fixtures::MakeTexture(5, 1, 2)),
          [](CSplitOptionsDlg* d) { Answer(d, "Custom", 1, 1, false); });
    ExpectIdle();
    EXPECT_EQ(message, "No texture can be added here: an object holds at most 32767 textures "
                       "and a sprite wad at most 65535.");
    EXPECT_EQ(ObjectLines()[0], "464: MISC_SPRITES  Textures=32767");
    EXPECT_EQ(sprites->count(), 32767);

    // Escape closes the options dialog; the job still goes on to load the image.
    const Shown before = Take();
    AnswerMessage(&message);
    Start(Write("bad.png", {1, 2, 3, 4}),
          [](CSplitOptionsDlg* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(message, "Failed To Load Image...");
    ExpectIdle();
    EXPECT_TRUE(Take() == before);
    // Without objects nothing opens.
    AnswerMessage(nullptr, QMessageBox::Discard);
    dlg.OnCloseSwd();
    EXPECT_EQ(ModalsDuring([&] { Press("Add Split Texture"); }), 0);
}

TEST(SplitOptions, FixedSizesLockTheFieldsAndBadSidesAreRefused) {
    CSplitOptionsDlg d;
    WhenModal<CSplitOptionsDlg>([](CSplitOptionsDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Split Options");
        QLineEdit* width = Field(dialog, "width");
        QLineEdit* height = Field(dialog, "height");
        EXPECT_TRUE(Checked(dialog, "128 x 128") && Checked(dialog, kAllowSmaller));
        EXPECT_TRUE(width->isReadOnly() && height->isReadOnly());
        Click(dialog, "Custom");
        Type(width, "100");
        Click(dialog, "64 x 64");
        EXPECT_EQ(width->text() + height->text(), "6464");
        EXPECT_TRUE(width->isReadOnly());
        Click(dialog, "Custom");
        QTest::keyClicks(width, "x-");
        EXPECT_EQ(width->text(), "64") << "only digits can be typed";
        for (const auto& [w, h, culprit, text] :
             {std::tuple{"", "64", width, "Please enter an integer."},
              {"257", "64", width, "Please enter an integer between 1 and 256."},
              {"12", "0", height, "Please enter an integer between 1 and 256."}}) {
            Type(width, w);
            Type(height, h);
            EXPECT_EQ(Refusal(dialog, culprit), text);
        }
        Type(width, "7");
        Type(height, "256");
        Click(dialog, "OK");
    });
    EXPECT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_EQ(QString("%1 %2 %3 %4")
                  .arg(d.m_nWidth)
                  .arg(d.m_nHeight)
                  .arg(d.m_nSizeChoice)
                  .arg(d.m_nPiecePolicy),
              "7 256 4 0");
}

} // namespace
