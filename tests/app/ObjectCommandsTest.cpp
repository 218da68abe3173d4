// Add, Edit, Delete, Export and Import Object through the real window and its dialogs.
#include "WindowProbe.h"
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

TEST(AddObjectDlg, ItemsIdFieldAndWholeNumberCheck) {
    CAddObjectDlg dialog;
    EXPECT_EQ(dialog.m_strTitle, "Add Object");
    dialog.m_nObjectId = 12;
    dialog.m_nChoice = 5;
    WhenModal<CAddObjectDlg>([](CAddObjectDlg* d) {
        QLineEdit* id = Field(d, "objectId");
        QStringList items;
        for (int i = 0; i < Choice(d)->count(); ++i) {
            items << Choice(d)->itemText(i);
        }
        EXPECT_EQ(items, (QStringList{"SKY_GRAPHICS", "DEFAULT_SPRITES", "MISC_SPRITES",
                                      "FONT_GRAPHICS", "CUSTOM_SPRITES", "CUSTOM_OBJECTID"}));
        EXPECT_EQ(id->text(), "12");
        EXPECT_FALSE(id->isReadOnly());
        const QStringList fixed{"460", "463", "464", "470", "494"};
        for (int i = 0; i < 5; ++i) {
            Choice(d)->setCurrentIndex(i);
            EXPECT_EQ(id->text(), fixed[i]);
            EXPECT_TRUE(id->isReadOnly());
        }
        // Back on the custom item the field shows the id the dialog opened with.
        Choice(d)->setCurrentIndex(5);
        EXPECT_EQ(id->text(), "12");
        Type(id, "4x-");
        EXPECT_EQ(id->text(), "4") << "the field takes digits only";
        for (const char* refused : {"", "99999999999"}) {
            Type(id, refused);
            EXPECT_EQ(Refusal(d, id), "Please enter an integer.");
        }
        id->setText("70000");
        Click(d, "OK");
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nObjectId, 70000);
    EXPECT_EQ(dialog.m_nChoice, 5);
}

TEST_F(ObjectCommands, AddPreselectsPlacesAndAsksAgainAfterADuplicate) {
    const struct {
        int preselected, choose; // -1: keep the preselection
        QStringList lines;
        int selected;
    } steps[] = {
        {1, -1, {"463: DEFAULT_SPRITES  Textures=0"}, 0},
        {0, -1, {"460: SKY_GRAPHICS  Textures=0", "463: DEFAULT_SPRITES  Textures=0"}, 0},
        {4,
         5,
         {"460: SKY_GRAPHICS  Textures=0", "463: DEFAULT_SPRITES  Textures=0",
          "0: LARA  Textures=0"},
         2},
    };
    for (const auto& s : steps) {
        Run("Add Object", [&s](CAddObjectDlg* d) {
            EXPECT_EQ(d->windowTitle(), "Add Object");
            EXPECT_EQ(Choice(d)->currentIndex(), s.preselected);
            EXPECT_EQ(Field(d, "objectId")->isReadOnly(), s.preselected != 5);
            if (s.choose >= 0) {
                Choice(d)->setCurrentIndex(s.choose);
            }
            Click(d, "OK");
        });
        EXPECT_EQ(w.ObjectLines(), s.lines);
        EXPECT_EQ(w.objects->currentIndex(), s.selected);
    }
    // A clash is reported and a fresh dialog comes back.
    QString message;
    Run("Add Object", [&](CAddObjectDlg* d) {
        AnswerMessage(&message, QMessageBox::Ok, [] {
            WhenModal<CAddObjectDlg>([](CAddObjectDlg* again) {
                EXPECT_EQ(Choice(again)->currentIndex(), 4);
                Choice(again)->setCurrentIndex(5);
                EXPECT_EQ(Field(again, "objectId")->text(), "0") << "nothing typed is kept";
                Field(again, "objectId")->setText("600");
                Click(again, "OK");
            });
        });
        Choice(d)->setCurrentIndex(5);
        Field(d, "objectId")->setText("460");
        Click(d, "OK");
    });
    EXPECT_EQ(message, "460: SKY_GRAPHICS already exist, choose another");
    EXPECT_EQ(w.ObjectLines().last(), "600: UNKNOWN_SPRITES  Textures=0");
    EXPECT_EQ(w.objects->currentIndex(), 3);
    const Shown before = Take();
    Run("Add Object", [](CAddObjectDlg* d) { d->reject(); });
    EXPECT_TRUE(Take() == before);
}

TEST_F(ObjectCommands, EditRenumbersInPlaceAndAsksAgainUntilCancelled) {
    wad.m_sequences[1].slotId = 12;
    Load();
    w.Select(w.objects, 1);
    w.Select(w.sprites, 2);
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
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"464: MISC_SPRITES  Textures=5", "460: SKY_GRAPHICS  Textures=3",
                           "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(w.objects->currentIndex(), 1);
    EXPECT_EQ(w.sprites->currentIndex(), 2) << "the Sprites list is not refilled";
}

TEST_F(ObjectCommands, DeleteSelectsTheFirstLineAndEmptiesTheViewAtTheEnd) {
    Load();
    w.Select(w.objects, 1);
    Press("Delete Object");
    EXPECT_EQ(w.ObjectLines(),
              (QStringList{"464: MISC_SPRITES  Textures=5", "494: CUSTOM_SPRITES  Textures=2"}));
    EXPECT_EQ(w.objects->currentIndex(), 0);
    EXPECT_EQ(w.SpriteLines().size(), 5);
    EXPECT_EQ(w.PreviewImage(), ReferenceImage(wad.m_textures[0]));
    Press("Delete Object");
    EXPECT_EQ(w.PreviewImage(), ReferenceImage(wad.m_textures[8]));
    Press("Delete Object");
    EXPECT_EQ(w.objects->count() + w.sprites->count(), 0);
    EXPECT_TRUE(w.preview->pixmap().isNull());
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
    w.Select(w.objects, 1);
    QString message;
    AnswerMessage(&message);
    Press("Export Object");
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

    // Into an empty window the object is created; into one that has it, the textures go
    // behind its own. Either way the last one is shown.
    Press("Close SWD");
    RunWithFile("Import Object", Path("sky.swo"), QFileDialog::AcceptOpen,
                [](QFileDialog* fd) { EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile); });
    EXPECT_EQ(w.ObjectLines(), QStringList{"460: SKY_GRAPHICS  Textures=5"});
    QStringList lines;
    for (int k = 0; k < 5; ++k) {
        lines << QString("Texture %1 :  (%2 x 5)").arg(k).arg(3 + k);
    }
    EXPECT_EQ(w.SpriteLines(), lines);
    EXPECT_EQ(w.sprites->currentIndex(), 4);
    EXPECT_EQ(w.PreviewImage(), ReferenceImage(wad.m_textures[4]));
    Load();
    w.Select(w.objects, 2);
    RunWithFile("Import Object", Path("sky.swo"), QFileDialog::AcceptOpen);
    EXPECT_EQ(w.objects->currentIndex(), 0);
    EXPECT_EQ(w.ObjectLines()[0], "460: SKY_GRAPHICS  Textures=10");
    EXPECT_EQ(w.SpriteLines().size(), 10);
    EXPECT_EQ(w.sprites->currentIndex(), 9);
}

TEST_F(ObjectCommands, RefusedFilesChangeNothing) {
    Load();
    w.Select(w.objects, 1);
    w.Select(w.sprites, 2);
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
