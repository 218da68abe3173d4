// Add, Edit, Delete, Export and Import Object through the real window and its dialogs.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "app/CAddObjectDlg.h"
#include "model/PackTextures.h"
#include "model/SwdFile.h"
#include "objects/SwoFile.h"
#include "support/Fixtures.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

QComboBox* Choice(CAddObjectDlg* d) {
    return d->findChild<QComboBox*>("choice");
}

QLineEdit* IdField(CAddObjectDlg* d) {
    return d->findChild<QLineEdit*>("objectId");
}

void ClickOk(QDialog* d) {
    for (QPushButton* b : d->findChildren<QPushButton*>()) {
        if (b->text() == "OK") {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no OK button";
}

// Answers the next message box with OK and hands its text to `seen`.
void WhenMessage(QString* seen, std::function<void()> then = {}) {
    WhenModal<QMessageBox>([seen, then](QMessageBox* box) {
        *seen = box->text();
        if (then) {
            then();
        }
        box->button(QMessageBox::Ok)->click();
    });
}

class ObjectCommands : public ::testing::Test {
protected:
    ObjectCommands() : w(dlg) {}

    // Opens a document holding these objects and textures, through an SWD file.
    void Load(SpriteWad wad) {
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        const std::string path = (dir / "doc.swd").string();
        ASSERT_TRUE(swd::WriteSwdFile(path, wad).ok());
        ASSERT_TRUE(dlg.OpenSwdFile(QString::fromStdString(path)));
    }

    // Clicks `button`, first scheduling `answer` for the object dialog it opens.
    void Run(const char* button, std::function<void(CAddObjectDlg*)> answer) {
        WhenModal<CAddObjectDlg>(answer);
        QTest::mouseClick(w.Button(button), Qt::LeftButton);
    }

    // Clicks `button` and answers its file dialog with `file`.
    void RunWithFile(const char* button, const QString& file, QFileDialog::AcceptMode mode,
                     std::function<void(QFileDialog*)> check = {}) {
        WhenModal<QFileDialog>([=](QFileDialog* fd) {
            EXPECT_EQ(fd->nameFilters(), QStringList{"Sprite Wad Objects (*.swo)"});
            EXPECT_EQ(fd->acceptMode(), mode);
            if (check) {
                check(fd);
            }
            fd->findChild<QLineEdit*>("fileNameEdit")->setText(file);
            static_cast<QDialog*>(fd)->accept();
        });
        QTest::mouseClick(w.Button(button), Qt::LeftButton);
    }

    QString Path(const std::string& name) const {
        return QString::fromStdString((dir / name).string());
    }

    std::vector<std::uint32_t> Slots() const {
        std::vector<std::uint32_t> ids;
        for (const ObjectSequence& s : dlg.Document().m_sequences) {
            ids.push_back(s.slotId);
        }
        return ids;
    }

    fixtures::TempDir dir;
    CMainDlg dlg;
    WindowProbe w;
};

SpriteWad ThreeRuns() {
    // X (464) owns textures 0..4, Y (470) 5..7, Z (494) 8..9.
    SpriteWad wad;
    wad.m_sequences = {{464, -5, 0}, {470, -3, 5}, {494, -2, 8}};
    for (int i = 0; i < 10; ++i) {
        wad.m_textures.push_back(fixtures::MakeTexture(3 + i, 5, static_cast<std::uint32_t>(i)));
    }
    return wad;
}

TEST(AddObjectDlg, ItemsIdFieldAndWholeNumberCheck) {
    CAddObjectDlg fresh;
    EXPECT_EQ(fresh.m_strTitle, "Add Object");
    EXPECT_EQ(fresh.m_nObjectId, 0);
    EXPECT_EQ(fresh.m_nChoice, -1);
    WhenModal<CAddObjectDlg>([](CAddObjectDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Add Object");
        EXPECT_EQ(Choice(d)->currentIndex(), -1);
        EXPECT_EQ(IdField(d)->text(), "0");
        EXPECT_TRUE(IdField(d)->isReadOnly());
        d->reject();
    });
    EXPECT_EQ(fresh.exec(), QDialog::Rejected);

    CAddObjectDlg dialog;
    dialog.m_strTitle = "Edit Object";
    dialog.m_nObjectId = 12;
    dialog.m_nChoice = 5;
    WhenModal<CAddObjectDlg>([](CAddObjectDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Object");
        QStringList items;
        for (int i = 0; i < Choice(d)->count(); ++i) {
            items << Choice(d)->itemText(i);
        }
        EXPECT_EQ(items, (QStringList{"SKY_GRAPHICS", "DEFAULT_SPRITES", "MISC_SPRITES",
                                      "FONT_GRAPHICS", "CUSTOM_SPRITES", "CUSTOM_OBJECTID"}));
        EXPECT_EQ(IdField(d)->text(), "12");
        EXPECT_FALSE(IdField(d)->isReadOnly());
        const QStringList fixed{"460", "463", "464", "470", "494"};
        for (int i = 0; i < 5; ++i) {
            Choice(d)->setCurrentIndex(i);
            EXPECT_EQ(IdField(d)->text(), fixed[i]);
            EXPECT_TRUE(IdField(d)->isReadOnly());
        }
        // Back on the custom item the field shows the id the dialog opened with.
        Choice(d)->setCurrentIndex(5);
        QTest::keyClicks(IdField(d), "99");
        Choice(d)->setCurrentIndex(0);
        Choice(d)->setCurrentIndex(5);
        EXPECT_EQ(IdField(d)->text(), "12");
        IdField(d)->clear();
        QTest::keyClicks(IdField(d), "4x-");
        EXPECT_EQ(IdField(d)->text(), "4") << "the field takes digits only";

        for (const char* refused : {"", "99999999999"}) {
            IdField(d)->setText(refused);
            QString prompt;
            WhenMessage(&prompt);
            ClickOk(d);
            EXPECT_EQ(prompt, "Please enter an integer.");
            EXPECT_TRUE(d->isVisible()) << "a refused id keeps the dialog open";
        }
        IdField(d)->setText("70000");
        ClickOk(d);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nObjectId, 70000);
    EXPECT_EQ(dialog.m_nChoice, 5);
}

TEST_F(ObjectCommands, AddPreselectsPlacesAndAsksAgainAfterADuplicate) {
    const struct {
        int preselected;
        int choose; // -1: keep the preselection
        const char* id;
        QStringList lines;
        int selected;
    } steps[] = {
        {1, -1, nullptr, {"463: DEFAULT_SPRITES  Textures=0"}, 0},
        {0, -1, nullptr, {"460: SKY_GRAPHICS  Textures=0", "463: DEFAULT_SPRITES  Textures=0"}, 0},
        {4,
         -1,
         nullptr,
         {"460: SKY_GRAPHICS  Textures=0", "463: DEFAULT_SPRITES  Textures=0",
          "494: CUSTOM_SPRITES  Textures=0"},
         2},
        {4,
         5,
         nullptr,
         {"460: SKY_GRAPHICS  Textures=0", "463: DEFAULT_SPRITES  Textures=0",
          "494: CUSTOM_SPRITES  Textures=0", "0: LARA  Textures=0"},
         3},
    };
    for (const auto& s : steps) {
        Run("Add Object", [&s](CAddObjectDlg* d) {
            EXPECT_EQ(d->windowTitle(), "Add Object");
            EXPECT_EQ(Choice(d)->currentIndex(), s.preselected);
            if (s.choose >= 0) {
                Choice(d)->setCurrentIndex(s.choose);
            }
            ClickOk(d);
        });
        EXPECT_EQ(w.ObjectLines(), s.lines);
        EXPECT_EQ(w.objects->currentIndex(), s.selected);
        EXPECT_EQ(w.sprites->count(), 0);
    }

    // CUSTOM_SPRITES again: the clash is reported and a fresh dialog comes back.
    QString message;
    Run("Add Object", [&](CAddObjectDlg* d) {
        WhenMessage(&message, [&] {
            WhenModal<CAddObjectDlg>([](CAddObjectDlg* again) {
                EXPECT_EQ(Choice(again)->currentIndex(), 4);
                Choice(again)->setCurrentIndex(5);
                EXPECT_EQ(IdField(again)->text(), "0") << "nothing typed before is kept";
                IdField(again)->setText("600");
                ClickOk(again);
            });
        });
        Choice(d)->setCurrentIndex(5);
        IdField(d)->setText("0");
        Choice(d)->setCurrentIndex(4);
        ClickOk(d);
    });
    EXPECT_EQ(message, "494: CUSTOM_SPRITES already exist, choose another");
    EXPECT_EQ(w.ObjectLines().last(), "600: UNKNOWN_SPRITES  Textures=0");
    EXPECT_EQ(w.objects->currentIndex(), 4);
    EXPECT_EQ(Slots(), (std::vector<std::uint32_t>{460, 463, 494, 0, 600}));

    const QStringList before = w.ObjectLines();
    Run("Add Object", [](CAddObjectDlg* d) { d->reject(); });
    EXPECT_EQ(w.ObjectLines(), before);
}

TEST_F(ObjectCommands, EditRenumbersInPlaceAndAsksAgainUntilCancelled) {
    SpriteWad wad = ThreeRuns();
    wad.m_sequences[1].slotId = 12;
    Load(wad);
    w.Select(w.objects, 1);
    w.Select(w.sprites, 2);
    const QStringList sprites = w.SpriteLines();
    const std::vector<ObjectSequence> before = dlg.Document().m_sequences;

    // Confirming the object's own id is a clash; Cancel on the fresh dialog changes nothing.
    QString message;
    Run("Edit Object", [&](CAddObjectDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Object");
        EXPECT_EQ(Choice(d)->currentIndex(), 5);
        EXPECT_EQ(IdField(d)->text(), "12");
        EXPECT_FALSE(IdField(d)->isReadOnly());
        WhenMessage(&message, [] {
            WhenModal<CAddObjectDlg>([](CAddObjectDlg* again) {
                EXPECT_EQ(IdField(again)->text(), "12");
                again->reject();
            });
        });
        ClickOk(d);
    });
    EXPECT_EQ(message, "12: LARA_REVOLVER_LASER already exist, choose another");
    EXPECT_EQ(dlg.Document().m_sequences, before);

    Run("Edit Object", [](CAddObjectDlg* d) {
        Choice(d)->setCurrentIndex(0);
        ClickOk(d);
    });
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"464: MISC_SPRITES  Textures=5", "460: SKY_GRAPHICS  Textures=3",
                           "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(w.objects->currentIndex(), 1);
    EXPECT_EQ(w.SpriteLines(), sprites) << "the Sprites list is not refilled";
    EXPECT_EQ(w.sprites->currentIndex(), 2);
    EXPECT_EQ(dlg.Document().m_sequences[1], (ObjectSequence{460, -3, 5}));
}

TEST_F(ObjectCommands, DeleteTakesTheRunSelectsTheFirstLineAndEmptiesTheViewAtTheEnd) {
    const SpriteWad wad = ThreeRuns();
    Load(wad);
    w.Select(w.objects, 1);
    QTest::mouseClick(w.Button("Delete Object"), Qt::LeftButton);
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"464: MISC_SPRITES  Textures=5", "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(w.objects->currentIndex(), 0);
    EXPECT_EQ(w.SpriteLines().size(), 5);
    EXPECT_EQ(w.PreviewImage(), apptest::ReferenceImage(wad.m_textures[0]));
    EXPECT_EQ(dlg.Document().m_sequences,
              (std::vector<ObjectSequence>{{464, -5, 0}, {494, -2, 5}}));
    ASSERT_EQ(dlg.Document().TextureCount(), 7u);
    EXPECT_TRUE(dlg.Document().m_textures[5] == wad.m_textures[8]);

    QTest::mouseClick(w.Button("Delete Object"), Qt::LeftButton);
    EXPECT_EQ(w.ObjectLines(), QStringList{"494: CUSTOM_SPRITES  Textures=2"});
    EXPECT_EQ(dlg.Document().m_sequences, (std::vector<ObjectSequence>{{494, -2, 0}}));
    EXPECT_EQ(w.PreviewImage(), apptest::ReferenceImage(wad.m_textures[8]));
    QTest::mouseClick(w.Button("Delete Object"), Qt::LeftButton);
    EXPECT_EQ(w.objects->count(), 0);
    EXPECT_EQ(w.sprites->count(), 0);
    EXPECT_TRUE(w.preview->pixmap().isNull());
    EXPECT_EQ(dlg.Document().TextureCount(), 0u);
    // Nothing left: the object commands do nothing.
    for (const char* button : {"Delete Object", "Edit Object", "Export Object"}) {
        QTest::mouseClick(w.Button(button), Qt::LeftButton);
    }
    EXPECT_EQ(dlg.Document().ObjectCount(), 0u);
}

TEST_F(ObjectCommands, ExportWritesTheObjectAndImportCreatesOrExtendsIt) {
    SpriteWad wad = ThreeRuns();
    wad.m_sequences[0].slotId = 460;
    wad.m_sequences[1].SetTextureCount(0);
    wad.m_sequences[2].firstTexture = 5;
    wad.m_textures.resize(7);
    Load(wad);

    w.Select(w.objects, 1);
    QString message;
    WhenMessage(&message);
    QTest::mouseClick(w.Button("Export Object"), Qt::LeftButton);
    EXPECT_EQ(message, "Object 470: FONT_GRAPHICS doesn't have any textures,\n add some first "
                       "and try again...");

    w.Select(w.objects, 0);
    RunWithFile("Export Object", Path("sky"), QFileDialog::AcceptSave, [](QFileDialog* fd) {
        EXPECT_EQ(fd->defaultSuffix(), "swo");
        EXPECT_FALSE(fd->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(fd->findChild<QLineEdit*>("fileNameEdit")->text(), "SKY_GRAPHICS_5sprites");
    });
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(swo::EncodeSwo(dlg.Document(), 0, expected).ok());
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "sky.swo"), expected);

    // Into an empty window: the object is created and every texture listed as it comes.
    QTest::mouseClick(w.Button("Close SWD"), Qt::LeftButton);
    RunWithFile("Import Object", Path("sky.swo"), QFileDialog::AcceptOpen,
                [](QFileDialog* fd) { EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile); });
    EXPECT_EQ(w.ObjectLines(), QStringList{"460: SKY_GRAPHICS  Textures=5"});
    QStringList lines;
    for (int k = 0; k < 5; ++k) {
        lines << QString("Texture %1 :  (%2 x 5)").arg(k).arg(3 + k);
    }
    EXPECT_EQ(w.SpriteLines(), lines);
    EXPECT_EQ(w.sprites->currentIndex(), 4);
    EXPECT_EQ(w.PreviewImage(), apptest::ReferenceImage(wad.m_textures[4]));
    EXPECT_EQ(w.info->toPlainText(), "");

    // Into a document that has the object: behind its own textures.
    Load(wad);
    w.Select(w.objects, 2);
    RunWithFile("Import Object", Path("sky.swo"), QFileDialog::AcceptOpen);
    EXPECT_EQ(w.objects->currentIndex(), 0);
    EXPECT_EQ(w.ObjectLines()[0], "460: SKY_GRAPHICS  Textures=10");
    EXPECT_EQ(w.SpriteLines().size(), 10);
    EXPECT_EQ(w.sprites->currentIndex(), 9);
    EXPECT_EQ(dlg.Document().m_sequences,
              (std::vector<ObjectSequence>{{460, -10, 0}, {470, 0, 10}, {494, -2, 10}}));
    for (int k = 0; k < 5; ++k) {
        EXPECT_TRUE(dlg.Document().m_textures[5 + k] == wad.m_textures[k]) << k;
    }
}

TEST_F(ObjectCommands, RefusedFilesChangeNothing) {
    Load(ThreeRuns());
    w.Select(w.objects, 1);
    w.Select(w.sprites, 2);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(swo::EncodeSwo(dlg.Document(), 2, bytes).ok());
    bytes.resize(bytes.size() - 3);
    fixtures::WriteFileBytes(dir / "cut.swo", bytes);

    const auto take = [this] {
        return std::tuple{w.ObjectLines(),
                          w.SpriteLines(),
                          w.objects->currentIndex(),
                          w.sprites->currentIndex(),
                          w.PreviewImage(),
                          dlg.Document().m_sequences,
                          dlg.Document().TextureCount()};
    };
    const auto before = take();
    const std::tuple<std::string, QString, QString> cases[] = {
        {"doc.swd", swo::kWrongMagicMessage, ""},
        {"cut.swo", "This object file is damaged: texture record 2 of 2 states ",
         " bytes of compressed pixels, but only "},
    };
    for (const auto& [name, start, middle] : cases) {
        QString message;
        WhenMessage(&message);
        RunWithFile("Import Object", Path(name), QFileDialog::AcceptOpen);
        EXPECT_TRUE(message.startsWith(start) && message.contains(middle)) << message.toStdString();
        EXPECT_TRUE(take() == before) << name;
    }
    WhenModal<QFileDialog>([](QFileDialog* fd) { fd->reject(); });
    QTest::mouseClick(w.Button("Import Object"), Qt::LeftButton);
    EXPECT_TRUE(take() == before);
}

} // namespace
