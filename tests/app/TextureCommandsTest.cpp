// Import, Add, Delete and Export Texture and the clipboard, through the real window and
// its dialogs.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "app/CJpegOptionsDlg.h"
#include "app/CTgaOptionsDlg.h"
#include "images/BTCImageObject.h"
#include "images/TextureExport.h"
#include "support/Fixtures.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using apptest::ReferenceImage;
using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

const QStringList kImageFilters = {"All Supported Images",
                                   "BMP (*.bmp)",
                                   "PCX (*.pcx)",
                                   "PNG (*.png)",
                                   "TGA (*.tga)",
                                   "TIFF (*.tif, *.tiff)",
                                   "JPEG (*.jpg, *.jpe, *.jpeg, *.jfif)"};
const QStringList kExportFilters = {"BMP (*.bmp)",          "PCX (*.pcx)",
                                    "PNG (*.png)",          "TGA (*.tga)",
                                    "TIFF (*.tif, *.tiff)", "JPEG (*.jpg, *.jpe, *.jpeg, *.jfif)",
                                    "RAW (*.raw)"};

// The filter texts the dialog's list shows.
QStringList ShownFilters(QFileDialog* fd) {
    QStringList shown;
    auto* combo = fd->findChild<QComboBox*>("fileTypeCombo");
    EXPECT_NE(combo, nullptr);
    for (int i = 0; combo != nullptr && i < combo->count(); ++i) {
        shown << combo->itemText(i);
    }
    return shown;
}

// SmallWad: 463 owns textures 2..4 (56x56, 1x1, 256x3), 460 owns 0..1 (64x64, 32x16), 494 is
// empty at 5.
class TextureCommands : public ::testing::Test {
protected:
    struct Answer {
        QString file;
        int filter;
        std::function<void(QFileDialog*)> check;
    };

    TextureCommands() : w(dlg) {
        fixtures::WriteFileBytes(dir / "small.swd", fixtures::SmallWad().Build());
        EXPECT_TRUE(dlg.OpenSwdFile(Path("small.swd")));
    }
    ~TextureCommands() override { QGuiApplication::clipboard()->clear(); }

    QString Path(const std::string& name) const {
        return QString::fromStdString((dir / name).string());
    }

    QString WriteImage(const std::string& name, const BTCImageData& image, ExportFormat format) {
        EXPECT_TRUE(ExportImage(image, (dir / name).string(), format));
        return Path(name);
    }

    // Answers the next file dialog the way a user would: after `check` looks at it, picks
    // filter (1-based; 0 leaves the one it opened on), types the name and presses OK.
    void AnswerFileDialog(const QString& file, int filter = 0,
                          std::function<void(QFileDialog*)> check = {}) {
        WhenModal<QFileDialog>([answer = Answer{file, filter, std::move(check)}](QFileDialog* fd) {
            if (answer.check) {
                answer.check(fd);
            }
            auto* combo = fd->findChild<QComboBox*>("fileTypeCombo");
            ASSERT_NE(combo, nullptr);
            if (answer.filter > 0) {
                combo->setCurrentIndex(answer.filter - 1);
                emit combo->activated(answer.filter - 1);
            }
            auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(answer.file);
            static_cast<QDialog*>(fd)->accept();
            EXPECT_FALSE(fd->isVisible())
                << "the file dialog refused " << answer.file.toStdString();
        });
    }

    // Answers the next message box with OK; the text lands in *text.
    void AnswerMessage(QString* text, QString* title = nullptr) {
        WhenModal<QMessageBox>([text, title](QMessageBox* box) {
            *text = box->text();
            if (title != nullptr) {
                *title = box->windowTitle();
            }
            box->button(QMessageBox::Ok)->click();
        });
    }

    void Click(const char* button) { QTest::mouseClick(w.Button(button), Qt::LeftButton); }

    const SpriteWad& Wad() const { return dlg.Document(); }
    std::vector<std::uint16_t> Firsts() const {
        std::vector<std::uint16_t> firsts;
        for (const ObjectSequence& s : Wad().m_sequences) {
            firsts.push_back(s.firstTexture);
        }
        return firsts;
    }

    fixtures::TempDir dir;
    CMainDlg dlg;
    WindowProbe w;
};

TEST_F(TextureCommands, ImportReplacesInPlaceKeepingEveryPixelAndExportGivesThemBack) {
    const BTCImageData picture = fixtures::MakeTexture(200, 99, 3);
    const QString file = WriteImage("picture.png", picture, ExportFormat::Png);
    w.Select(w.sprites, 1);
    const auto sequences = Wad().m_sequences;
    AnswerFileDialog(file, 0, [](QFileDialog* fd) {
        EXPECT_EQ(ShownFilters(fd), kImageFilters);
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(fd->selectedNameFilter(), kImageFilters[0]);
    });
    Click("Import Texture");
    EXPECT_EQ(w.SpriteLines(), (QStringList{"Texture 0 :  (56 x 56)", "Texture 1 :  (200 x 99)",
                                            "Texture 2 :  (256 x 3)"}));
    EXPECT_EQ(w.sprites->currentIndex(), 1);
    EXPECT_EQ(w.ObjectLines().at(0), "463: DEFAULT_SPRITES  Textures=3");
    EXPECT_EQ(Wad().m_sequences, sequences);
    EXPECT_EQ(Wad().ObjectTexture(0, 1), picture);
    EXPECT_EQ(w.PreviewImage(), ReferenceImage(picture));

    AnswerFileDialog(Path("back.png"), 3, [](QFileDialog* fd) {
        EXPECT_EQ(ShownFilters(fd), kExportFilters);
        EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(fd->defaultSuffix(), "bmp");
        EXPECT_EQ(fd->selectedNameFilter(), kExportFilters[0]);
        EXPECT_EQ(fd->findChild<QLineEdit*>("fileNameEdit")->text(), "Default_1");
    });
    Click("Export Texture");
    EXPECT_EQ(dlg.m_exportFilterIndex, 3);
    BTCImageObject back;
    ASSERT_TRUE(back.Load((dir / "back.png").string()));
    EXPECT_EQ(back.GetObjectData(), picture);
}

TEST_F(TextureCommands, AddFitsTheImageAndMovesEveryLaterRun) {
    const QString file =
        WriteImage("wide.bmp", fixtures::MakeTexture(300, 200, 8), ExportFormat::Bmp);
    w.Select(w.objects, 1); // 460, whose run 0..1 lies before 463's
    AnswerFileDialog(file, 2);
    Click("Add Texture");
    EXPECT_EQ(dlg.m_imageFilterIndex, 2);
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"463: DEFAULT_SPRITES  Textures=3", "460: SKY_GRAPHICS  Textures=3",
                           "494: CUSTOM_SPRITES  Textures=0"}));
    EXPECT_EQ(w.objects->currentIndex(), 1);
    EXPECT_EQ(w.SpriteLines().back(), "Texture 2 :  (256 x 171)");
    EXPECT_EQ(w.sprites->currentIndex(), 2);
    EXPECT_EQ(Firsts(), (std::vector<std::uint16_t>{3, 0, 6}));
    EXPECT_EQ(w.PreviewImage().size(), QSize(256, 171));

    // The next image dialog, in any command, opens on the filter chosen last.
    AnswerFileDialog(
        file, 0, [](QFileDialog* fd) { EXPECT_EQ(fd->selectedNameFilter(), kImageFilters[1]); });
    Click("Import Texture");
}

TEST_F(TextureCommands, ACorruptImageIsRefusedAndOnlyTheFilterIsRemembered) {
    std::vector<std::uint8_t> bytes = fixtures::ReadFileBytes(
        WriteImage("good.png", fixtures::MakeTexture(40, 40, 1), ExportFormat::Png).toStdString());
    bytes.resize(bytes.size() / 2);
    fixtures::WriteFileBytes(dir / "cut.png", bytes);
    const auto sequences = Wad().m_sequences;
    const auto textures = Wad().m_textures;
    const QStringList sprites = w.SpriteLines();
    for (const char* button : {"Import Texture", "Add Texture"}) {
        QString text;
        AnswerFileDialog(Path("cut.png"), 4);
        AnswerMessage(&text);
        Click(button);
        EXPECT_EQ(text, "Failed To Load Image...") << button;
    }
    EXPECT_EQ(dlg.m_imageFilterIndex, 4);
    EXPECT_EQ(Wad().m_sequences, sequences);
    EXPECT_TRUE(Wad().m_textures == textures);
    EXPECT_EQ(w.SpriteLines(), sprites);
}

TEST_F(TextureCommands, DeleteSelectsThePreviousLineAndMovesOnlyLaterRuns) {
    w.Select(w.sprites, 2);
    Click("Delete Texture");
    EXPECT_EQ(w.SpriteLines(), (QStringList{"Texture 0 :  (56 x 56)", "Texture 1 :  (1 x 1)"}));
    EXPECT_EQ(w.sprites->currentIndex(), 1);
    EXPECT_EQ(w.ObjectLines().at(0), "463: DEFAULT_SPRITES  Textures=2");
    EXPECT_EQ(Firsts(), (std::vector<std::uint16_t>{2, 0, 4}));
    w.Select(w.sprites, 0);
    Click("Delete Texture");
    EXPECT_EQ(w.SpriteLines(), QStringList{"Texture 0 :  (1 x 1)"});
    EXPECT_EQ(w.sprites->currentIndex(), 0);
    EXPECT_EQ(w.PreviewImage().size(), QSize(1, 1));
    Click("Delete Texture");
    EXPECT_TRUE(w.SpriteLines().isEmpty());
    EXPECT_EQ(w.ObjectLines().at(0), "463: DEFAULT_SPRITES  Textures=0");
    EXPECT_EQ(Firsts(), (std::vector<std::uint16_t>{2, 0, 2}));
    EXPECT_EQ(Wad().TextureCount(), 2u);
    EXPECT_TRUE(Wad().RunsAreValid());
}

// Nothing may open, change or show without the selection a command needs.
TEST_F(TextureCommands, CommandsWithoutTheirSelectionDoNothing) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    QStringList opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&opened] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened << modal->windowTitle();
            modal->reject();
        }
    });
    watch.start(10);
    clipboard->setImage(ReferenceImage(fixtures::MakeTexture(8, 8, 1)));
    w.Select(w.objects, 2); // 494, no textures
    const auto sequences = Wad().m_sequences;
    for (const char* button :
         {"Export Texture", "Import Texture", "Delete Texture", "Copy Texture", "Paste Texture"}) {
        Click(button);
    }
    EXPECT_EQ(Wad().m_sequences, sequences);

    clipboard->setText("no picture here");
    for (const char* button : {"Paste Texture", "Paste As New"}) {
        w.Select(w.objects, 0);
        Click(button);
    }
    EXPECT_EQ(Wad().m_sequences, sequences);

    dlg.OnCloseSwd();
    clipboard->setImage(ReferenceImage(fixtures::MakeTexture(8, 8, 1)));
    for (const char* button : {"Export Texture", "Import Texture", "Add Texture", "Delete Texture",
                               "Copy Texture", "Paste Texture", "Paste As New"}) {
        Click(button);
    }
    QTest::qWait(50);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(", ").toStdString();
    EXPECT_EQ(Wad().ObjectCount(), 0u);
}

TEST_F(TextureCommands, CopyThenPasteAsNewDuplicatesATexture) {
    w.Select(w.sprites, 2);
    const SpriteTexture copied = Wad().ObjectTexture(0, 2);
    Click("Copy Texture");
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              ReferenceImage(copied));
    const auto textures = Wad().m_textures;
    EXPECT_TRUE(Wad().m_textures == textures) << "copying changes nothing";
    Click("Paste As New");
    EXPECT_EQ(w.ObjectLines().at(0), "463: DEFAULT_SPRITES  Textures=4");
    EXPECT_EQ(w.SpriteLines().back(), "Texture 3 :  (256 x 3)");
    EXPECT_EQ(w.sprites->currentIndex(), 3);
    EXPECT_EQ(Wad().ObjectTexture(0, 3), copied);
    EXPECT_EQ(Firsts(), (std::vector<std::uint16_t>{2, 0, 6}));
}

TEST_F(TextureCommands, PastedImagesAreFittedAndKeepOddWidthsExact) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    QImage large(512, 384, QImage::Format_ARGB32);
    large.fill(qRgba(10, 200, 30, 128));
    clipboard->setImage(large);
    w.Select(w.sprites, 1);
    Click("Paste Texture");
    EXPECT_EQ(w.SpriteLines().at(1), "Texture 1 :  (256 x 192)");
    EXPECT_EQ(w.sprites->currentIndex(), 1);
    EXPECT_EQ(fixtures::PixelAt(Wad().ObjectTexture(0, 1), 100, 100),
              (std::array<std::uint8_t, 3>{30, 200, 10}));

    // Rows of 5 pixels are padded to 16 bytes in a QImage; ours are 15.
    const BTCImageData odd = fixtures::MakeTexture(5, 3, 12);
    clipboard->setImage(ReferenceImage(odd));
    w.Select(w.objects, 2);
    Click("Paste As New");
    EXPECT_EQ(w.ObjectLines().at(2), "494: CUSTOM_SPRITES  Textures=1");
    EXPECT_EQ(w.SpriteLines(), QStringList{"Texture 0 :  (5 x 3)"});
    EXPECT_EQ(Wad().ObjectTexture(2, 0), odd);
}

TEST_F(TextureCommands, ExportOptionDialogsAreRememberedAndTheFilterDecidesTheFormat) {
    w.Select(w.sprites, 0);
    // JPEG: the trackbar and the field move each other; Escape still exports.
    AnswerFileDialog(Path("q.jpg"), 6);
    WhenModal<CJpegOptionsDlg>([](CJpegOptionsDlg* jpeg) {
        EXPECT_EQ(jpeg->windowTitle(), "JPEG Compression Options...");
        auto* field = jpeg->findChild<QLineEdit*>("quality");
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), "100");
        EXPECT_EQ(jpeg->m_slider->value(), 100);
        EXPECT_EQ(jpeg->m_slider->tickInterval(), 25);
        EXPECT_EQ(jpeg->m_slider->pageStep(), 10);
        QTest::keyClick(jpeg->m_slider, Qt::Key_Home);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(jpeg->m_slider, Qt::Key_PageUp);
        }
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(jpeg->m_slider, Qt::Key_Right);
        }
        EXPECT_EQ(field->text(), "37");
        EXPECT_EQ(jpeg->m_quality, 37);
        field->selectAll();
        QTest::keyClicks(field, "8-0x");
        EXPECT_EQ(field->text(), "80") << "only digits can be typed";
        EXPECT_EQ(jpeg->m_slider->value(), 80);
        QTest::keyClick(jpeg, Qt::Key_Escape);
    });
    Click("Export Texture");
    EXPECT_EQ(dlg.m_jpegQuality, 80);
    EXPECT_EQ(dlg.m_exportFilterIndex, 6);
    const auto jpeg = fixtures::ReadFileBytes(dir / "q.jpg");
    ASSERT_GE(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    // A value out of range is refused on OK and the dialog stays open; the next export
    // opens on JPEG at the value last held.
    AnswerFileDialog(Path("r.jpg"), 0, [](QFileDialog* fd) {
        EXPECT_EQ(fd->selectedNameFilter(), kExportFilters[5]);
    });
    WhenModal<CJpegOptionsDlg>([this](CJpegOptionsDlg* jpegDlg) {
        auto* field = jpegDlg->findChild<QLineEdit*>("quality");
        EXPECT_EQ(field->text(), "80");
        field->selectAll();
        QTest::keyClicks(field, "150");
        EXPECT_EQ(jpegDlg->m_slider->value(), 15) << "150 is out of range: 15 was the last taken";
        EXPECT_EQ(jpegDlg->m_quality, 15);
        QString text;
        AnswerMessage(&text);
        QTest::mouseClick(jpegDlg->findChild<QPushButton*>(), Qt::LeftButton);
        EXPECT_EQ(text, "Please enter an integer between 0 and 100.");
        EXPECT_TRUE(jpegDlg->isVisible());
        field->selectAll();
        QTest::keyClicks(field, "55");
        QTest::mouseClick(jpegDlg->findChild<QPushButton*>(), Qt::LeftButton);
    });
    Click("Export Texture");
    EXPECT_EQ(dlg.m_jpegQuality, 55);

    // TGA: unchecked at first, then what OK stored; closing otherwise keeps it.
    for (const bool closeWithOk : {true, false}) {
        AnswerFileDialog(Path(closeWithOk ? "a.tga" : "b.tga"), 4);
        WhenModal<CTgaOptionsDlg>([closeWithOk](CTgaOptionsDlg* tga) {
            EXPECT_EQ(tga->windowTitle(), "Options");
            auto* box = tga->findChild<QCheckBox*>();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), "Enable RLE Compression");
            EXPECT_EQ(box->isChecked(), !closeWithOk);
            if (closeWithOk) {
                QTest::mouseClick(box, Qt::LeftButton);
                QTest::mouseClick(tga->findChild<QPushButton*>(), Qt::LeftButton);
            } else {
                QTest::mouseClick(box, Qt::LeftButton); // unchecked, then closed: not stored
                QTest::keyClick(tga, Qt::Key_Escape);
            }
        });
        Click("Export Texture");
        EXPECT_EQ(dlg.m_tgaRle, 1);
        EXPECT_EQ(fixtures::ReadFileBytes(dir / (closeWithOk ? "a.tga" : "b.tga")).at(2), 10)
            << "run-length true colour";
    }

    // PNG chosen, a .bmp name typed: the file is a PNG. Saving over it asks first.
    fixtures::WriteFileBytes(dir / "named.bmp", {1, 2, 3});
    AnswerFileDialog(Path("named.bmp"), 3);
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    Click("Export Texture");
    const auto png = fixtures::ReadFileBytes(dir / "named.bmp");
    ASSERT_GE(png.size(), 4u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");

    // RAW: the rows bottom-up, nothing else.
    AnswerFileDialog(Path("t.raw"), 7);
    Click("Export Texture");
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "t.raw"), RawDump(Wad().ObjectTexture(0, 0)));
}

TEST_F(TextureCommands, ExportFailuresAreReported) {
    // The folder exists, but no file can be made in it.
    const QString target = "/proc/self/vornix-export.png";
    QString text;
    QString title;
    AnswerFileDialog(target, 3);
    AnswerMessage(&text, &title);
    Click("Export Texture");
    EXPECT_EQ(title, "Error Saving!");
    EXPECT_EQ(text, "Error saving to\n[" + target + "]");
    EXPECT_EQ(dlg.m_exportFilterIndex, 3);

    AnswerFileDialog("/proc/self/vornix-export.raw", 7);
    AnswerMessage(&text, &title);
    Click("Export Texture");
    EXPECT_NE(text.indexOf("/proc/self/vornix-export.raw"), -1) << text.toStdString();
    EXPECT_NE(title, "Error Saving!");
}

} // namespace
