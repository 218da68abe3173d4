#pragma once

#include "ModalDriver.h"
#include "app/CMainDlg.h"
#include "app/COwnerDrawCombo.h"
#include "images/TextureExport.h"
#include "support/Fixtures.h"

#include <QTest>
#include <QtWidgets>

namespace apptest {

// The button of `parent` (the window or a dialog) reading `text`, and a click on it.
QAbstractButton* FindButton(const QWidget* parent, const QString& text);
void Click(const QWidget* parent, const QString& text);
QStringList Lines(const QComboBox* list);
QLineEdit* Field(const QWidget* dialog, const char* name);
// Replaces a field's text by typing, as a user would.
void Type(QLineEdit* field, const QString& text);
// Answers the next message box with `answer` after storing its text and running `then`.
void AnswerMessage(QString* text, QMessageBox::StandardButton answer = QMessageBox::Ok,
                   std::function<void()> then = {});
// Presses OK expecting a refusal that keeps the dialog open on `culprit`; returns the message.
QString Refusal(QDialog* dialog, QLineEdit* culprit);
// Answers the next file dialog: `check` sees it, then `filter` (1-based, 0 keeps it) is picked,
// `file` typed (several names in quotes) and OK pressed.
void AnswerFileDialog(const QString& file, int filter = 0,
                      std::function<void(QFileDialog*)> check = {});

// The image built pixel by pixel from the B,G,R bytes, not by the window's converter.
QImage ReferenceImage(const SpriteTexture& texture);

struct Shown {
    QStringList objects, sprites;
    int object, sprite;
    QString path, info;
    QImage preview;
    SpriteWad document;
    bool operator==(const Shown&) const = default;
};

// Removes the user's settings file, so that a window made afterwards starts as for a new user.
struct FreshSettings {
    FreshSettings();
};

// The window, as a new user first sees it, its controls found by name, and a folder for files.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    QAbstractButton* Button(const QString& text) const { return FindButton(&dlg, text); }
    QStringList ObjectLines() const { return Lines(objects); }
    QStringList SpriteLines() const { return Lines(sprites); }
    void Select(COwnerDrawCombo* list, int line) const;
    // Runs the window until no job runs and the job buttons are back.
    void WaitForJobs();
    QImage PreviewImage() const;
    void Activate();
    Shown Take() const;
    void Press(const QString& button) { Click(&dlg, button); }
    QString Path(const std::string& name) const {
        return QString::fromStdString((dir / name).string());
    }
    QString Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        fixtures::WriteFileBytes(dir / name, bytes);
        return Path(name);
    }
    QString WriteImage(const std::string& name, const BTCImageData& image) {
        EXPECT_TRUE(ExportImage(image, (dir / name).string(), ImageFormat::Png));
        return Path(name);
    }
    // An object file of one 9 x 5 texture for slot 460, named sky.swo.
    QString WriteSwo();
    void Open(const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(dlg.OpenSwdFile(Write("doc.swd", bytes)));
    }
    // Writes the set with the program's own packer and writer as `name` and opens it.
    void OpenSet(const SpriteWad& set, const std::string& name = "target.swd");

    FreshSettings fresh;
    fixtures::TempDir dir;
    CMainDlg dlg;
    QLineEdit* path;
    COwnerDrawCombo* objects;
    COwnerDrawCombo* sprites;
    QLabel* preview;
    QPlainTextEdit* info;
};

} // namespace apptest
