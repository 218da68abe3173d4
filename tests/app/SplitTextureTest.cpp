// Add Split Texture through the real window: the dialogs, the job on its worker thread and Stop.
#include "WindowTest.h"
#include "app/AppSettings.h"
#include "app/CSplitOptionsDlg.h"
#include "edits/Edits.h"
#include "pixels/SplitImage.h"

#include <QAbstractItemModel>

using namespace apptest;

namespace {

const QString kAllowSmaller = "Allow pieces to be smaller than selected size.";
const QString kPad = "Make all pieces the selected size and fill unused space with magenta color.";

// Picks a size (for Custom typing the sides) and a piece policy and presses OK.
void Answer(CSplitOptionsDlg* dialog, const QString& size, int width, int height, bool pad) {
    Click(dialog, size);
    if (size == "Custom") {
        Type(Field(dialog, "width"), QString::number(width));
        Type(Field(dialog, "height"), QString::number(height));
    }
    Click(dialog, pad ? kPad : kAllowSmaller);
    Click(dialog, "OK");
}

// SmallWad: 463 (selected) owns 3 textures, 460 owns 2, 494 none.
class SplitTexture : public WindowTest {
protected:
    SplitTexture() { Open(fixtures::SmallWad().Build()); }

    // Picks `file`, answers the options dialog with `answer` and waits for the job.
    void Split(const QString& file, std::function<void(CSplitOptionsDlg*)> answer) {
        AnswerFileDialog(file);
        WhenModal<CSplitOptionsDlg>(std::move(answer));
        Press("Add Split Texture");
        WaitForJobs();
        sprites->model()->disconnect(&dlg);
    }
};

// The window's split gives the wad the core's split gives, piece for piece and pixel for pixel,
// behind the selected object's textures, with either piece policy on an image whose sides are
// no multiple of the piece; the last piece is selected and shown.
TEST_F(SplitTexture, GivesTheCoresSplitWithEitherPolicy) {
    const BTCImageData image = fixtures::MakeTexture(300, 200, 5); // 10 x 7 pieces
    const QString file = WriteImage("split.png", image);
    for (const bool pad : {false, true}) {
        SCOPED_TRACE(pad ? "pad" : "smaller");
        Open(fixtures::SmallWad().Build());
        SpriteWad expected = dlg.Wad();
        std::vector<SpriteTexture> pieces;
        SplitImage(
            image, 32, 32, pad ? PiecePolicy::PadWithMagenta : PiecePolicy::AllowSmaller,
            [] { return true; },
            [&pieces](BTCImageData piece) {
                pieces.push_back(std::move(piece));
                return true;
            });
        ASSERT_TRUE(edits::AddTextures(expected, 0, std::move(pieces)));
        Split(file, [pad](CSplitOptionsDlg* d) { Answer(d, "32 x 32", 0, 0, pad); });
        EXPECT_TRUE(dlg.Wad() == expected);
        EXPECT_EQ(sprites->currentIndex(), 72);
        EXPECT_EQ(PreviewImage(), ReferenceImage(dlg.Wad().ObjectTexture(0, 72)));
    }
}

// Stop, or Escape answered Yes, ends the job keeping the pieces cut so far, one step in all;
// answered No, or left open until the job ends (it then closes itself), it goes on. The worker may
// cut only a few pieces ahead of the window here, so a stop when the first ones arrive always comes
// before the last is cut.
TEST_F(SplitTexture, StopAndEscapeDuringTheJob) {
    dlg.show();
    dlg.m_splitQueueBytes = 4 * 8 * 8 * 3;
    const BTCImageData source = fixtures::MakeTexture(64, 64, 2);
    const QString file = WriteImage("64.png", source); // 64 pieces of 8 x 8
    const struct {
        bool escape;
        QMessageBox::StandardButton answer;
        bool all;
    } cases[] = {{false, {}, false},
                 {true, QMessageBox::No, true},
                 {true, QMessageBox::Yes, false},
                 {true, QMessageBox::NoButton, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(!c.escape ? "Stop" : c.answer == QMessageBox::NoButton ? "open" : "Yes/No");
        Open(fixtures::SmallWad().Build());
        QString question;
        auto done = std::make_shared<bool>(false);
        QObject::connect(sprites->model(), &QAbstractItemModel::rowsInserted, &dlg, [&, done] {
            if (*done || sprites->count() < 4) {
                return;
            }
            *done = true;
            EXPECT_EQ(Button("Stop")->toolTip(), "Stops the splitting thread");
            if (c.escape && c.answer == QMessageBox::NoButton) {
                // Pressed as a user would, between the window's turns.
                WhenModal<QMessageBox>([&](QMessageBox* box) { question = box->text(); });
                QTimer::singleShot(0, &dlg, [this] { QTest::keyClick(&dlg, Qt::Key_Escape); });
                return;
            }
            if (c.escape) {
                AnswerMessage(&question, c.answer);
                QTest::keyClick(&dlg, Qt::Key_Escape);
                return;
            }
            Press("Stop");
            // Until the worker has ended, a second click only stops again and closing waits.
            EXPECT_EQ(
                ModalsDuring([this] { Press("Stop"), QTest::keyClick(&dlg, Qt::Key_Escape); }), 0);
        });
        // The choices made the first time come back the next times.
        Split(file, [first = &c == cases](CSplitOptionsDlg* d) {
            EXPECT_TRUE(first || (FindButton(d, kPad)->isChecked() &&
                                  d->focusWidget() == FindButton(d, "Custom") &&
                                  Field(d, "width")->text() + Field(d, "height")->text() == "88"));
            first ? Answer(d, "Custom", 8, 8, true) : Click(d, "OK");
        });
        EXPECT_EQ(AppSettings().Choices().splitHeight, 8) << "kept for the next run at once";
        EXPECT_EQ(question, c.escape ? "Do you wish to cancel spliting?" : "");
        // The pieces that went in are the first ones of the image, in order.
        const int added = static_cast<int>(dlg.Wad().TextureCount()) - 5;
        EXPECT_TRUE(c.all ? added == 64 : added >= 1 && added < 64) << added;
        for (int k = 0; k < added; ++k) {
            BTCImageData cell;
            ASSERT_TRUE(cell.Copy(source, k % 8 * 8, k / 8 * 8, 8, 8));
            ASSERT_EQ(dlg.Wad().ObjectTexture(0, 3 + k), cell) << k;
        }
        dlg.Undo();
        EXPECT_EQ(dlg.Wad().TextureCount(), 5u);
    }
}

// A size button reads the Custom fields with the integer and range prompts before it takes
// them; a refused value is not taken, and the next click goes on as asked.
TEST_F(SplitTexture, SizeButtonsCheckTheCustomFieldsFirst) {
    QStringList prompts;
    const auto clickPrompted = [&prompts](CSplitOptionsDlg* d, const QString& button) {
        QString text;
        AnswerMessage(&text);
        Click(d, button);
        prompts.append(text);
    };
    Split(WriteImage("8.png", fixtures::MakeTexture(8, 8, 3)), [&](CSplitOptionsDlg* d) {
        Click(d, "Custom");
        Type(Field(d, "width"), "300");
        clickPrompted(d, "64 x 64");
        EXPECT_EQ(Field(d, "width")->text() + "/" + Field(d, "height")->text(), "64/64");
        Click(d, "Custom");
        Type(Field(d, "height"), "");
        clickPrompted(d, "Custom");
        EXPECT_EQ(d->m_nHeight, 64) << "the value last taken";
        Type(Field(d, "width"), "5");
        Type(Field(d, "height"), "7");
        Click(d, "Custom");
        EXPECT_EQ(d->m_nWidth * 1000 + d->m_nHeight, 5007);
        Click(d, "OK");
    });
    EXPECT_EQ(prompts, (QStringList{"Please enter an integer between 1 and 256.",
                                    "Please enter an integer."}));
    EXPECT_EQ(SpriteLines().back(), "Texture 6 :  (3 x 1)") << "8 x 8 cut at 5 x 7";
}

TEST_F(SplitTexture, AFullObjectEndsTheJobWithAMessage) {
    // Object 464 with 32 765 one-pixel sprites: two more pieces fit, the third does not.
    fixtures::SwdBuilder b;
    for (int i = 0; i < 32765; ++i) {
        b.Entry(0, 0, 0, 1, 1);
    }
    Open(b.Page(fixtures::MakeTexture(256, 256, 1)).Sequence(464, -32765, 0).Build());
    // Two pieces at a time: the batch after the one that fills the object ends the job.
    dlg.m_splitQueueBytes = 2 * 3;
    QString message;
    AnswerMessage(&message);
    Split(WriteImage("20.png", fixtures::MakeTexture(20, 1, 2)),
          [](CSplitOptionsDlg* d) { Answer(d, "Custom", 1, 1, false); });
    EXPECT_EQ(message, "No more textures fit: an object holds at most 32767 textures "
                       "and a sprite wad at most 65535.");
    EXPECT_EQ(ObjectLines()[0], "464: MISC_SPRITES  Textures=32767");
}

} // namespace
