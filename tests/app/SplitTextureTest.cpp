// Add Split Texture through the real window: the image dialog, the options dialog, the job on
// its worker thread, Stop and the closing question.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "app/CSplitOptionsDlg.h"
#include "images/BTCImageObject.h"
#include "model/ObjectSlotNames.h"
#include "support/Fixtures.h"
#include "support/SplitExpectations.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

QRadioButton* Radio(QWidget* dialog, const QString& text) {
    for (QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    ADD_FAILURE() << "no option " << text.toStdString();
    return nullptr;
}

QLineEdit* Field(QWidget* dialog, const char* name) {
    auto* field = dialog->findChild<QLineEdit*>(name);
    EXPECT_NE(field, nullptr) << name;
    return field;
}

// Replaces a field's text by typing, as a user would.
void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void ClickOk(QDialog* dialog) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == "OK") {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no OK button";
}

// How the options dialog is to be answered.
struct Options {
    QString size; // one of the five size buttons
    int width = 0, height = 0;
    int policy = 0;
};

void Answer(CSplitOptionsDlg* dialog, const Options& options) {
    QTest::mouseClick(Radio(dialog, options.size), Qt::LeftButton);
    if (options.size == "Custom") {
        Type(Field(dialog, "width"), QString::number(options.width));
        Type(Field(dialog, "height"), QString::number(options.height));
    }
    const QString policies[] = {
        "Allow pieces to be smaller than selected size.",
        "Make all pieces the selected size and fill unused space with magenta color."};
    QTest::mouseClick(Radio(dialog, policies[options.policy]), Qt::LeftButton);
    ClickOk(dialog);
    EXPECT_FALSE(dialog->isVisible()) << "the options were refused";
}

class SplitTexture : public ::testing::Test {
protected:
    SplitTexture() : w(dlg) {
        const auto swd = dir / "small.swd";
        fixtures::WriteFileBytes(swd, fixtures::SmallWad().Build());
        EXPECT_TRUE(dlg.OpenSwdFile(QString::fromStdString(swd.string())));
    }

    QString WriteImage(const BTCImageData& image) {
        BTCImageObject png;
        png.Attach(image);
        const auto path = dir / ("image" + std::to_string(++images) + ".png");
        EXPECT_TRUE(png.Save(path.string(), BTCImageObject::CodecPNG));
        return QString::fromStdString(path.string());
    }

    // Clicks Add Split Texture, picks `file` and answers the options dialog with `answer`.
    void Start(const QString& file, std::function<void(CSplitOptionsDlg*)> answer) {
        WhenModal<QFileDialog>([file](QFileDialog* fd) {
            EXPECT_EQ(fd->nameFilters().value(0).left(20), "All Supported Images");
            fd->findChild<QLineEdit*>("fileNameEdit")->setText(file);
            static_cast<QDialog*>(fd)->accept();
        });
        WhenModal<CSplitOptionsDlg>(std::move(answer));
        QPushButton* split = w.Button("Add Split Texture");
        ASSERT_NE(split, nullptr);
        QTest::mouseClick(split, Qt::LeftButton);
    }

    // Lets the window run until the job has ended and given the button back; false after 20
    // seconds. After a Stop the flag is clear before the worker has restored the window.
    bool WaitForJob() {
        const auto ended = [this] {
            return dlg.m_bSplitting.load() == 0 &&
                   dlg.ButtonAt(CMainDlg::kAddSplitTexture)->text() == "Add Split Texture";
        };
        QElapsedTimer clock;
        clock.start();
        while (!ended() && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return ended();
    }

    std::vector<BTCImageData> Textures(std::size_t first, std::size_t count) const {
        const auto& all = dlg.Document().m_textures;
        return {all.begin() + static_cast<std::ptrdiff_t>(first),
                all.begin() + static_cast<std::ptrdiff_t>(first + count)};
    }

    void ExpectIdle() {
        const QStringList expected = {"Open SWD",         "Add Object",     "Delete Object",
                                      "Edit Object",      "Export Object",  "Import Object",
                                      "Export Texture",   "Import Texture", "Add Texture",
                                      "Add Split Texture"};
        for (const QString& text : expected) {
            ASSERT_NE(w.Button(text), nullptr);
            EXPECT_TRUE(w.Button(text)->isEnabled()) << text.toStdString();
        }
        EXPECT_EQ(w.Button("Add Split Texture")->toolTip(),
                  "Adds new textures from one image\nby spliting it into many pieces");
        EXPECT_TRUE(w.objects->isEnabled() && w.sprites->isEnabled());
    }

    fixtures::TempDir dir;
    int images = 0;
    CMainDlg dlg;
    WindowProbe w;
};

TEST_F(SplitTexture, PiecesOfEachSizeAndPolicyGoBehindTheSelectedObjectsTextures) {
    struct Case {
        int imageWidth, imageHeight;
        Options options;
        int pieceWidth, pieceHeight;
        QStringList newLines;
    };
    const QStringList sixPadded = {"Texture 2 :  (128 x 128)", "Texture 3 :  (128 x 128)",
                                   "Texture 4 :  (128 x 128)", "Texture 5 :  (128 x 128)",
                                   "Texture 6 :  (128 x 128)", "Texture 7 :  (128 x 128)"};
    QStringList twelveDots;
    for (int i = 2; i < 14; ++i) {
        twelveDots << QString("Texture %1 :  (1 x 1)").arg(i);
    }
    QStringList strips;
    for (int i = 2; i < 18; ++i) {
        strips << QString("Texture %1 :  (256 x 16)").arg(i);
    }
    const std::vector<Case> cases = {
        {300,
         200,
         {"128 x 128"},
         128,
         128,
         {"Texture 2 :  (128 x 128)", "Texture 3 :  (128 x 128)", "Texture 4 :  (44 x 128)",
          "Texture 5 :  (128 x 72)", "Texture 6 :  (128 x 72)", "Texture 7 :  (44 x 72)"}},
        {300, 200, {"128 x 128", 0, 0, 1}, 128, 128, sixPadded},
        {100, 50, {"256 x 256"}, 256, 256, {"Texture 2 :  (100 x 50)"}},
        {100, 50, {"256 x 256", 0, 0, 1}, 256, 256, {"Texture 2 :  (256 x 256)"}},
        {4, 3, {"Custom", 1, 1}, 1, 1, twelveDots},
        {256, 256, {"Custom", 256, 16}, 256, 16, strips},
        {70, 40, {"32 x 32", 0, 0, 1}, 32, 32, QStringList(6, "")},
        {70, 40, {"64 x 64"}, 64, 64, QStringList(2, "")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1x%2 %3 policy %4")
                         .arg(c.imageWidth)
                         .arg(c.imageHeight)
                         .arg(c.options.size)
                         .arg(c.options.policy)
                         .toStdString());
        w.Select(w.objects, 1); // 460, which owns textures 0..1; 463 and 494 start after it
        const int before = static_cast<int>(dlg.Document().TextureCount());
        const BTCImageData image = fixtures::MakeTexture(c.imageWidth, c.imageHeight, 5);
        Start(WriteImage(image), [&](CSplitOptionsDlg* d) { Answer(d, c.options); });
        ASSERT_TRUE(WaitForJob());
        const int pieces = static_cast<int>(c.newLines.size());
        const QStringList lines = w.SpriteLines();
        ASSERT_EQ(lines.size(), 2 + pieces);
        if (!c.newLines.value(0).isEmpty()) {
            EXPECT_EQ(lines.mid(2), c.newLines);
        }
        EXPECT_EQ(w.sprites->currentIndex(), 1 + pieces);
        EXPECT_EQ(w.ObjectLines()[1], QString("460: SKY_GRAPHICS  Textures=%1").arg(2 + pieces));
        EXPECT_EQ(w.objects->currentIndex(), 1);
        EXPECT_TRUE(fixtures::PiecesMatchSplit(image, c.pieceWidth, c.pieceHeight,
                                               c.options.policy == 1, Textures(2, pieces)));
        // The runs behind 460's moved up by the pieces; 460's own start stayed.
        const auto& objects = dlg.Document().m_sequences;
        EXPECT_EQ(objects[0].firstTexture, 2 + pieces);
        EXPECT_EQ(objects[1].firstTexture, 0);
        EXPECT_EQ(objects[2].firstTexture, 5 + pieces);
        EXPECT_EQ(static_cast<int>(dlg.Document().TextureCount()), before + pieces);
        EXPECT_EQ(w.PreviewImage(), apptest::ReferenceImage(Textures(1 + pieces, 1)[0]));
        ExpectIdle();
        EXPECT_EQ(dlg.m_nSplitWidth, c.pieceWidth);
        EXPECT_EQ(dlg.m_nSplitHeight, c.pieceHeight);
        EXPECT_EQ(dlg.m_nSplitPiecePolicy, c.options.policy);
        ASSERT_TRUE(dlg.OpenSwdFile(QString::fromStdString((dir / "small.swd").string())));
    }
}

TEST_F(SplitTexture, StopAfterKPiecesKeepsExactlyKAndRestoresTheWindow) {
    const QString file = WriteImage(fixtures::MakeTexture(64, 64, 2)); // 64 pieces of 8 x 8
    for (const int k : {1, 5, 63}) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(dlg.OpenSwdFile(QString::fromStdString((dir / "small.swd").string())));
        const int base = w.sprites->count(); // 463 selected: 3 textures
        bool stopped = false;
        QObject::connect(w.sprites->model(), &QAbstractItemModel::rowsInserted, &dlg, [&] {
            if (stopped || w.sprites->count() != base + k) {
                return;
            }
            stopped = true;
            QPushButton* stop = w.Button("Stop");
            ASSERT_NE(stop, nullptr);
            EXPECT_EQ(stop->toolTip(), "Stops the splitting thread");
            EXPECT_TRUE(stop->isEnabled());
            for (const char* text : {"Open SWD", "Add Object", "Delete Texture", "Resize Range",
                                     "Save As SWD", "Close SWD", "Exit"}) {
                EXPECT_FALSE(w.Button(text)->isEnabled()) << text;
            }
            EXPECT_FALSE(w.objects->isEnabled() || w.sprites->isEnabled());
            QTest::mouseClick(stop, Qt::LeftButton);
            // Until the worker has ended, a second click only stops again: no new job starts.
            EXPECT_EQ(stop->text(), "Stop");
            EXPECT_EQ(apptest::ModalsDuring([stop] { QTest::mouseClick(stop, Qt::LeftButton); }),
                      0);
        });
        Start(file, [](CSplitOptionsDlg* d) { Answer(d, {"Custom", 8, 8}); });
        ASSERT_TRUE(WaitForJob());
        w.sprites->model()->disconnect(&dlg);
        EXPECT_TRUE(stopped);
        EXPECT_EQ(w.sprites->count(), base + k);
        EXPECT_EQ(dlg.Document().m_sequences[0].TextureCount(), base + k);
        EXPECT_EQ(dlg.Document().TextureCount(), 5u + k);
        ExpectIdle();
    }
}

TEST_F(SplitTexture, EscapeDuringASplitAsksAndOnlyYesStopsIt) {
    dlg.show();
    struct Case {
        QMessageBox::StandardButton answer;
        int side, piece;
    };
    // Answered No, the small split finishes; answered Yes, the large one ends early.
    for (const Case& c : {Case{QMessageBox::No, 32, 8}, Case{QMessageBox::Yes, 128, 1}}) {
        SCOPED_TRACE(c.answer == QMessageBox::Yes ? "yes" : "no");
        ASSERT_TRUE(dlg.OpenSwdFile(QString::fromStdString((dir / "small.swd").string())));
        const int all = (c.side / c.piece) * (c.side / c.piece);
        bool asked = false;
        QString question;
        QObject::connect(w.sprites->model(), &QAbstractItemModel::rowsInserted, &dlg, [&] {
            if (asked || w.sprites->count() != 3 + 2) {
                return;
            }
            asked = true;
            WhenModal<QMessageBox>([&question, &c](QMessageBox* box) {
                question = box->text();
                box->button(c.answer)->click();
            });
            QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        Start(WriteImage(fixtures::MakeTexture(c.side, c.side, 2)), [&c](CSplitOptionsDlg* d) {
            Answer(d, {"Custom", c.piece, c.piece});
        });
        ASSERT_TRUE(WaitForJob());
        w.sprites->model()->disconnect(&dlg);
        EXPECT_EQ(question, "Do you wish to cancel spliting?");
        EXPECT_TRUE(dlg.isVisible());
        const int added = w.sprites->count() - 3;
        if (c.answer == QMessageBox::No) {
            EXPECT_EQ(added, all);
        } else {
            EXPECT_GE(added, 2);
            EXPECT_LT(added, all);
        }
        ExpectIdle();
    }
}

TEST_F(SplitTexture, AFullObjectStopsTheSplitWithAMessageKeepingThePiecesSoFar) {
    // Object 464 with 32 765 one-pixel sprites: two more pieces fit, the third does not.
    fixtures::SwdBuilder b;
    for (int i = 0; i < 32765; ++i) {
        b.Entry(0, 0, 0, 1, 1);
    }
    b.Page(fixtures::MakeTexture(256, 256, 1)).Sequence(464, -32765, 0);
    const auto full = dir / "full.swd";
    fixtures::WriteFileBytes(full, b.Build());
    ASSERT_TRUE(dlg.OpenSwdFile(QString::fromStdString(full.string())));
    QString message;
    WhenModal<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    Start(WriteImage(fixtures::MakeTexture(5, 1, 2)), [](CSplitOptionsDlg* d) {
        Answer(d, {"Custom", 1, 1});
    });
    ASSERT_TRUE(WaitForJob());
    EXPECT_EQ(message, "No texture can be added here: an object holds at most 32767 textures "
                       "and a sprite wad at most 65535.");
    EXPECT_EQ(w.ObjectLines()[0],
              "464: " + QString::fromStdString(LookupSlotName(464)) + "  Textures=32767");
    EXPECT_EQ(w.sprites->count(), 32767);
    EXPECT_EQ(dlg.Document().TextureCount(), 32767u);
    ExpectIdle();
}

TEST_F(SplitTexture, NothingHappensWithoutObjectsOrWhenTheImageIsRefused) {
    dlg.OnCloseSwd();
    EXPECT_EQ(apptest::ModalsDuring(
                  [&] { QTest::mouseClick(w.Button("Add Split Texture"), Qt::LeftButton); }),
              0);

    ASSERT_TRUE(dlg.OpenSwdFile(QString::fromStdString((dir / "small.swd").string())));
    const auto bad = dir / "bad.png";
    fixtures::WriteFileBytes(bad, {1, 2, 3, 4});
    QString message;
    WhenModal<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    // Escape closes the options dialog; the job still goes on to load the image.
    Start(QString::fromStdString(bad.string()),
          [](CSplitOptionsDlg* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(message, "Failed To Load Image...");
    EXPECT_EQ(dlg.m_bSplitting.load(), 0);
    EXPECT_EQ(dlg.Document().TextureCount(), 5u);
    ExpectIdle();
}

TEST_F(SplitTexture, OptionsDialogOffersTheLastChoiceAndEscapeKeepsTheLastAcceptedSizes) {
    const QString file = WriteImage(fixtures::MakeTexture(20, 10, 2));
    // First split: Custom 10 x 5 with the magenta policy, accepted.
    Start(file, [](CSplitOptionsDlg* d) { Answer(d, {"Custom", 10, 5, 1}); });
    ASSERT_TRUE(WaitForJob());
    EXPECT_EQ(w.sprites->count(), 3 + 4);
    // Second split: the dialog opens on that choice; typing 20 x 10 and pressing Escape
    // keeps 10 x 5 and the policy as it was left.
    Start(file, [](CSplitOptionsDlg* d) {
        EXPECT_TRUE(Radio(d, "Custom")->isChecked());
        EXPECT_TRUE(
            Radio(d, "Make all pieces the selected size and fill unused space with magenta color.")
                ->isChecked());
        EXPECT_EQ(Field(d, "width")->text(), "10");
        EXPECT_EQ(Field(d, "height")->text(), "5");
        EXPECT_FALSE(Field(d, "width")->isReadOnly());
        Type(Field(d, "width"), "20");
        Type(Field(d, "height"), "10");
        QTest::mouseClick(Radio(d, "Allow pieces to be smaller than selected size."),
                          Qt::LeftButton);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    ASSERT_TRUE(WaitForJob());
    EXPECT_EQ(w.sprites->count(), 3 + 4 + 4);
    EXPECT_EQ(dlg.m_nSplitWidth, 10);
    EXPECT_EQ(dlg.m_nSplitHeight, 5);
    EXPECT_EQ(dlg.m_nSplitSizeChoice, 4);
    EXPECT_EQ(dlg.m_nSplitPiecePolicy, 0);
}

TEST(SplitOptions, LayoutFixedSizesAndFieldPrompts) {
    CSplitOptionsDlg d;
    QStringList refused;
    WhenModal<CSplitOptionsDlg>([&refused](CSplitOptionsDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Split Options");
        EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        ASSERT_EQ(dialog->findChildren<QPushButton*>().size(), 1);
        EXPECT_EQ(dialog->findChildren<QRadioButton*>().size(), 7);
        QLineEdit* width = Field(dialog, "width");
        QLineEdit* height = Field(dialog, "height");
        EXPECT_TRUE(Radio(dialog, "128 x 128")->isChecked());
        EXPECT_TRUE(width->isReadOnly() && height->isReadOnly());
        EXPECT_EQ(width->text(), "128");
        // Custom 100 x 40, then a fixed size again: both edits follow it and lock.
        QTest::mouseClick(Radio(dialog, "Custom"), Qt::LeftButton);
        Type(width, "100");
        Type(height, "40");
        QTest::mouseClick(Radio(dialog, "64 x 64"), Qt::LeftButton);
        EXPECT_EQ(width->text(), "64");
        EXPECT_EQ(height->text(), "64");
        EXPECT_TRUE(width->isReadOnly());
        QTest::mouseClick(Radio(dialog, "Custom"), Qt::LeftButton);
        QTest::keyClicks(width, "x-");
        EXPECT_EQ(width->text(), "64") << "only digits can be typed";
        // Each bad value is refused with its prompt, focused, and the dialog stays open.
        const std::vector<std::tuple<QString, QString, QLineEdit*>> bad = {
            {"", "64", width}, {"0", "64", width}, {"257", "64", width}, {"12", "300", height}};
        for (const auto& [w, h, culprit] : bad) {
            Type(width, w);
            Type(height, h);
            WhenModal<QMessageBox>([&refused](QMessageBox* box) {
                refused << box->text();
                box->button(QMessageBox::Ok)->click();
            });
            ClickOk(dialog);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->focusWidget(), culprit);
            EXPECT_EQ(culprit->selectedText(), culprit->text());
        }
        Type(width, "7");
        Type(height, "256");
        ClickOk(dialog);
    });
    EXPECT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_EQ(refused,
              (QStringList{"Please enter an integer.", "Please enter an integer between 1 and 256.",
                           "Please enter an integer between 1 and 256.",
                           "Please enter an integer between 1 and 256."}));
    EXPECT_EQ(d.m_nWidth, 7);
    EXPECT_EQ(d.m_nHeight, 256);
    EXPECT_EQ(d.m_nSizeChoice, 4);
    EXPECT_EQ(d.m_nPiecePolicy, 0);
}

} // namespace
