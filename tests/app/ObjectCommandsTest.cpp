// Add, Edit, Delete, Export and Import Object through the real window and its dialogs.
#include "WindowTest.h"
#include "app/CAddObjectDlg.h"
#include "model/PackTextures.h"
#include "model/SwdFile.h"
#include "objects/SwoFile.h"

#include <QComboBox>
#include <QTest>

using namespace apptest;

namespace {

QComboBox* Choice(CAddObjectDlg* d) {
    return d->findChild<QComboBox*>("choice");
}

class ObjectCommands : public WindowTest {
protected:
    // X (464) owns textures 0..4, Y (470) 5..7, Z (494) 8..9.
    ObjectCommands() {
        wad.m_sequences = {{464, -5, 0}, {470, -3, 5}, {494, -2, 8}};
        for (int i = 0; i < 10; ++i) {
            wad.m_textures.push_back(
                fixtures::MakeTexture(3 + i, 5, static_cast<std::uint32_t>(i)));
        }
    }

    void Load() {
        ASSERT_EQ(PackTextures(wad).status, PackStatus::Done);
        ASSERT_TRUE(swd::WriteSwdFile((dir / "doc.swd").string(), wad).ok());
        ASSERT_TRUE(dlg.OpenSwdFile(Path("doc.swd")));
    }

    // Clicks `button`, first scheduling `answer` for the object dialog it opens.
    void Run(const char* button, std::function<void(CAddObjectDlg*)> answer) {
        WhenModal<CAddObjectDlg>(std::move(answer));
        Press(button);
    }

    // Clicks `button` and answers its SWO file dialog with `file`.
    void RunWithFile(const char* button, const QString& file, QFileDialog::AcceptMode mode,
                     std::function<void(QFileDialog*)> check = {}) {
        AnswerFileDialog(file, 0, [=](QFileDialog* fd) {
            EXPECT_EQ(fd->nameFilters(), QStringList{"Sprite Wad Objects (*.swo)"});
            EXPECT_EQ(fd->acceptMode(), mode);
            if (check) {
                check(fd);
            }
        });
        Press(button);
    }

    SpriteWad wad;
};

TEST_F(ObjectCommands, AddDialogPreselectsChecksTheIdAndAsksAgainAfterADuplicate) {
    Run("Add Object", [](CAddObjectDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Add Object");
        EXPECT_EQ(Choice(d)->currentIndex(), 1) << "DEFAULT_SPRITES first";
        QLineEdit* id = Field(d, "objectId");
        const QStringList ids{"460", "463", "464", "470", "494"};
        for (int i = 0; i < 5; ++i) {
            Choice(d)->setCurrentIndex(i);
            EXPECT_EQ(Choice(d)->currentText() + id->text() + (id->isReadOnly() ? "" : " free"),
                      QStringList({"SKY_GRAPHICS", "DEFAULT_SPRITES", "MISC_SPRITES",
                                   "FONT_GRAPHICS", "CUSTOM_SPRITES"})[i] +
                          ids[i]);
        }
        Choice(d)->setCurrentIndex(5);
        EXPECT_EQ(Choice(d)->currentText() + id->text(), "CUSTOM_OBJECTID0");
        EXPECT_FALSE(id->isReadOnly());
        Type(id, "4x-");
        EXPECT_EQ(id->text(), "4") << "the field takes digits only";
        for (const char* refused : {"", "99999999999"}) {
            Type(id, refused);
            EXPECT_EQ(Refusal(d, id), "Please enter an integer.");
        }
        Type(id, "70000");
        Click(d, "OK");
    });
    EXPECT_EQ(ObjectLines(), QStringList{"70000: UNKNOWN_SPRITES  Textures=0"});
    // A clash is reported and a fresh dialog comes back, preselecting anew.
    QString message;
    Run("Add Object", [&](CAddObjectDlg* d) {
        AnswerMessage(&message, QMessageBox::Ok, [] {
            WhenModal<CAddObjectDlg>([](CAddObjectDlg* again) {
                EXPECT_EQ(Choice(again)->currentIndex(), 0);
                Choice(again)->setCurrentIndex(5);
                EXPECT_EQ(Field(again, "objectId")->text(), "0") << "nothing typed is kept";
                Click(again, "OK");
            });
        });
        Choice(d)->setCurrentIndex(5);
        Type(Field(d, "objectId"), "70000");
        Click(d, "OK");
    });
    EXPECT_EQ(message, "70000: UNKNOWN_SPRITES already exist, choose another");
    EXPECT_EQ(ObjectLines(),
              (QStringList{"70000: UNKNOWN_SPRITES  Textures=0", "0: LARA  Textures=0"}));
    EXPECT_EQ(objects->currentIndex(), 1);
    const Shown before = Take();
    Run("Add Object", [](CAddObjectDlg* d) { d->reject(); });
    EXPECT_TRUE(Take() == before);
}

TEST_F(ObjectCommands, EditRenumbersInPlaceAndAsksAgainUntilCancelled) {
    wad.m_sequences[1].slotId = 12;
    Load();
    Select(objects, 1);
    Select(sprites, 2);
    const Shown before = Take();
    // Confirming the object's own id is a clash; Cancel on the fresh dialog changes nothing.
    QString message;
    Run("Edit Object", [&](CAddObjectDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Object");
        EXPECT_EQ(Choice(d)->currentIndex(), 5);
        EXPECT_EQ(Field(d, "objectId")->text(), "12");
        AnswerMessage(&message, QMessageBox::Ok, [] {
            WhenModal<CAddObjectDlg>([](CAddObjectDlg* again) {
                EXPECT_EQ(Field(again, "objectId")->text(), "12");
                again->reject();
            });
        });
        Click(d, "OK");
    });
    EXPECT_EQ(message, "12: LARA_REVOLVER_LASER already exist, choose another");
    EXPECT_TRUE(Take() == before);

    Run("Edit Object", [](CAddObjectDlg* d) {
        Choice(d)->setCurrentIndex(0);
        Click(d, "OK");
    });
    EXPECT_EQ(ObjectLines(),
              (QStringList{"464: MISC_SPRITES  Textures=5", "460: SKY_GRAPHICS  Textures=3",
                           "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(objects->currentIndex(), 1);
    EXPECT_EQ(sprites->currentIndex(), 2) << "the Sprites list is not refilled";
}

TEST_F(ObjectCommands, DeleteSelectsTheFirstLineAndEmptiesTheViewAtTheEnd) {
    Load();
    Select(objects, 1);
    Press("Delete Object");
    EXPECT_EQ(ObjectLines(),
              (QStringList{"464: MISC_SPRITES  Textures=5", "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(objects->currentIndex(), 0);
    EXPECT_EQ(SpriteLines().size(), 5);
    EXPECT_EQ(PreviewImage(), ReferenceImage(wad.m_textures[0]));
    Press("Delete Object");
    EXPECT_EQ(PreviewImage(), ReferenceImage(wad.m_textures[8]));
    Press("Delete Object");
    EXPECT_EQ(objects->count() + sprites->count(), 0);
    EXPECT_TRUE(preview->pixmap().isNull());
    EXPECT_EQ(dlg.Document().TextureCount(), 0u);
    // Nothing left: the object commands open nothing.
    for (const char* button : {"Delete Object", "Edit Object", "Export Object"}) {
        EXPECT_EQ(ModalsDuring([&] { Press(button); }), 0) << button;
    }
}

TEST_F(ObjectCommands, ExportWritesTheObjectAndImportCreatesOrExtendsIt) {
    wad.m_sequences = {{460, -5, 0}, {470, 0, 5}, {494, -2, 5}};
    wad.m_textures.resize(7);
    Load();
    Select(objects, 1);
    QString message;
    AnswerMessage(&message);
    Press("Export Object");
    EXPECT_EQ(message, "Object 470: FONT_GRAPHICS doesn't have any textures,\n add some first "
                       "and try again...");

    Select(objects, 0);
    RunWithFile("Export Object", Path("sky"), QFileDialog::AcceptSave, [](QFileDialog* fd) {
        EXPECT_EQ(fd->defaultSuffix(), "swo");
        EXPECT_FALSE(fd->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(fd->findChild<QLineEdit*>("fileNameEdit")->text(), "SKY_GRAPHICS_5sprites");
    });
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(swo::EncodeSwo(dlg.Document(), 0, expected).ok());
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "sky.swo"), expected);

    // Into an empty window the object is created; into one that has it, the textures go
    // behind its own. Either way the last one is shown.
    Press("Close SWD");
    RunWithFile("Import Object", Path("sky.swo"), QFileDialog::AcceptOpen,
                [](QFileDialog* fd) { EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile); });
    EXPECT_EQ(ObjectLines(), QStringList{"460: SKY_GRAPHICS  Textures=5"});
    QStringList lines;
    for (int k = 0; k < 5; ++k) {
        lines << QString("Texture %1 :  (%2 x 5)").arg(k).arg(3 + k);
    }
    EXPECT_EQ(SpriteLines(), lines);
    EXPECT_EQ(sprites->currentIndex(), 4);
    EXPECT_EQ(PreviewImage(), ReferenceImage(wad.m_textures[4]));
    Load();
    Select(objects, 2);
    RunWithFile("Import Object", Path("sky.swo"), QFileDialog::AcceptOpen);
    EXPECT_EQ(objects->currentIndex(), 0);
    EXPECT_EQ(ObjectLines()[0], "460: SKY_GRAPHICS  Textures=10");
    EXPECT_EQ(SpriteLines().size(), 10);
    EXPECT_EQ(sprites->currentIndex(), 9);
}

TEST_F(ObjectCommands, RefusedFilesChangeNothing) {
    Load();
    Select(objects, 1);
    Select(sprites, 2);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(swo::EncodeSwo(dlg.Document(), 2, bytes).ok());
    bytes.resize(bytes.size() - 3);
    fixtures::WriteFileBytes(dir / "cut.swo", bytes);
    const Shown before = Take();
    const std::pair<std::string, QString> cases[] = {
        {"doc.swd", swo::kWrongMagicMessage},
        {"cut.swo", "This object file is damaged: texture record 2 of 2 states "},
    };
    for (const auto& [name, start] : cases) {
        QString message;
        AnswerMessage(&message);
        RunWithFile("Import Object", Path(name), QFileDialog::AcceptOpen);
        EXPECT_TRUE(message.startsWith(start)) << message.toStdString();
        EXPECT_TRUE(Take() == before) << name;
    }
    WhenModal<QFileDialog>([](QFileDialog* fd) { fd->reject(); });
    Press("Import Object");
    EXPECT_TRUE(Take() == before);
}

} // namespace
