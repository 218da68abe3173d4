// Add, Edit, Delete, Export and Import Object through the real window and its dialogs.
#include "WindowTest.h"
#include "app/CAddObjectDlg.h"
#include "formats/SwoFile.h"

using namespace apptest;

namespace {

QComboBox* Choice(CAddObjectDlg* d) {
    return d->findChild<QComboBox*>("choice");
}

// SmallWad: 463 owns 3 textures, 460 owns 2, 494 none.
class ObjectCommands : public WindowTest {
protected:
    ObjectCommands() { Open(fixtures::SmallWad().Build()); }
    // Clicks `button`, first scheduling `answer` for the object dialog it opens.
    void Run(const char* button, std::function<void(CAddObjectDlg*)> answer) {
        WhenModal<CAddObjectDlg>(std::move(answer));
        Press(button);
    }
};

TEST_F(ObjectCommands, AddDialogChecksTheIdAndAsksAgainAfterADuplicate) {
    dlg.OnCloseSwd();
    Run("Add Object", [](CAddObjectDlg* d) {
        QLineEdit* id = Field(d, "objectId");
        // Each fixed choice shows its own id, the first one too.
        for (const int choice : {4, 0}) {
            Choice(d)->setCurrentIndex(choice);
            EXPECT_EQ(id->text(), choice == 0 ? "460" : "494");
        }
        Choice(d)->setCurrentIndex(5);
        Type(id, "99999999999");
        EXPECT_EQ(Refusal(d, id), "Please enter an integer.");
        Type(id, "3000000000");
        Click(d, "OK");
    });
    EXPECT_EQ(ObjectLines(), QStringList{"3000000000: UNKNOWN_SPRITES  Textures=0"});
    QString message;
    Run("Add Object", [&](CAddObjectDlg* d) {
        AnswerMessage(&message, QMessageBox::Ok, [] {
            WhenModal<CAddObjectDlg>([](CAddObjectDlg* again) {
                Choice(again)->setCurrentIndex(5);
                EXPECT_EQ(Field(again, "objectId")->text(), "0") << "nothing typed is kept";
                Click(again, "OK");
            });
        });
        Choice(d)->setCurrentIndex(5);
        Type(Field(d, "objectId"), "3000000000");
        Click(d, "OK");
    });
    EXPECT_EQ(message, "3000000000: UNKNOWN_SPRITES already exist, choose another");
    EXPECT_EQ(ObjectLines(),
              (QStringList{"3000000000: UNKNOWN_SPRITES  Textures=0", "0: LARA  Textures=0"}));
    EXPECT_EQ(objects->currentIndex(), 1);
    Select(objects, 0);
    Run("Edit Object", [](CAddObjectDlg* d) {
        EXPECT_EQ(Field(d, "objectId")->text(), "3000000000");
        d->reject();
    });
}

// Edit replaces the line and keeps the texture selected; Delete selects the first object, and
// deleting the last one empties the lists and the preview.
TEST_F(ObjectCommands, EditKeepsTheSelectionAndDeleteSelectsTheFirstObject) {
    Select(objects, 1);
    Select(sprites, 1);
    Run("Edit Object", [](CAddObjectDlg* d) {
        Choice(d)->setCurrentIndex(5);
        Type(Field(d, "objectId"), "77");
        Click(d, "OK");
    });
    EXPECT_TRUE(ObjectLines()[1].startsWith("77: ") && sprites->currentIndex() == 1);
    Select(objects, 2);
    Press("Delete Object");
    EXPECT_EQ(std::pair(objects->currentIndex(), sprites->count()), std::pair(0, 3));
    Press("Delete Object");
    Press("Delete Object");
    EXPECT_TRUE(objects->count() + sprites->count() == 0 && preview->pixmap().isNull());
}

TEST_F(ObjectCommands, ExportWritesTheObjectAndImportCreatesOrExtendsItOrRefusesADamagedFile) {
    QString message;
    Select(objects, 1);
    AnswerFileDialog(Path("sky"), 0, [](QFileDialog* fd) {
        EXPECT_EQ(fd->nameFilters(), QStringList{"Sprite Wad Objects (*.swo)"});
        EXPECT_EQ(fd->defaultSuffix(), "swo");
        EXPECT_EQ(fd->findChild<QLineEdit*>("fileNameEdit")->text(), "SKY_GRAPHICS_2sprites");
    });
    Press("Export Object");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(swo::EncodeSwo(dlg.Wad(), 1, bytes).ok());
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "sky.swo"), bytes);
    const SpriteTexture last = dlg.Wad().ObjectTexture(1, 1);

    Select(objects, 2);
    AnswerFileDialog(Path("sky.swo"));
    Press("Import Object");
    EXPECT_EQ(objects->currentIndex(), 1);
    EXPECT_EQ(sprites->currentIndex(), 3);
    AnswerMessage(nullptr, QMessageBox::Discard);
    Press("Close SWD");
    AnswerFileDialog(Path("sky.swo"));
    Press("Import Object");
    EXPECT_EQ(ObjectLines(), QStringList{"460: SKY_GRAPHICS  Textures=2"});
    EXPECT_EQ(PreviewImage(), ReferenceImage(last));

    bytes.resize(bytes.size() - 3);
    const Shown before = Take();
    AnswerMessage(&message);
    AnswerFileDialog(Write("cut.swo", bytes));
    Press("Import Object");
    EXPECT_TRUE(message.startsWith("This object file is damaged: texture record 2 of 2 states "));
    EXPECT_EQ(Take(), before);
}

} // namespace
