#pragma once

#include "ModalDriver.h"
#include "app/CMainDlg.h"
#include "app/COwnerDrawCombo.h"
#include "images/TextureExport.h"
#include "support/Fixtures.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include <ostream>

// Readable failure output for Qt values.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& lines, std::ostream* os) {
    *os << '[' << lines.join(" | ").toStdString() << ']';
}
inline void PrintTo(const QImage& image, std::ostream* os) {
    *os << "QImage " << image.width() << 'x' << image.height();
}

namespace apptest {

// Clicks the button of `parent` (the window or a dialog) reading `text`.
void Click(const QWidget* parent, const QString& text);
QLineEdit* Field(const QWidget* dialog, const char* name);
// Replaces a field's text by typing, as a user would.
void Type(QLineEdit* field, const QString& text);
// Answers the next message box with `answer`, after handing its text to `text` and running
// `then` (which may schedule the answer to a dialog the refusal leads to).
void AnswerMessage(QString* text, QMessageBox::StandardButton answer = QMessageBox::Ok,
                   std::function<void()> then = {});
// Presses OK expecting a refusal: the dialog stays open with `culprit` focused and selected.
// Returns the message.
QString Refusal(QDialog* dialog, QLineEdit* culprit);
// Answers the next file dialog: `check` looks at it, then `filter` (1-based; 0 keeps the one
// it opened on) is picked, `file` typed and OK pressed.
void AnswerFileDialog(const QString& file, int filter = 0,
                      std::function<void(QFileDialog*)> check = {});

// The blank preview field: the button face, 16 darker in each channel.
QColor FieldColour(const QWidget& window);
// The image built pixel by pixel from the B,G,R bytes, independently of the window's converter.
QImage ReferenceImage(const SpriteTexture& texture);

// Everything the window shows and the document holds, to prove a refusal changed nothing.
struct Shown {
    QStringList objects, sprites;
    int object, sprite;
    QString path, info;
    QImage preview;
    std::vector<ObjectSequence> sequences;
    std::vector<SpriteTexture> textures;
    bool operator==(const Shown&) const = default;
};

inline void PrintTo(const Shown& s, std::ostream* os) {
    *os << s.sequences.size() << " objects, " << s.textures.size() << " textures, lines ["
        << s.objects.join(" | ").toStdString() << "] [" << s.sprites.join(" | ").toStdString()
        << "] selected " << s.object << '/' << s.sprite << ", preview " << s.preview.width() << 'x'
        << s.preview.height() << ", info \"" << s.info.toStdString() << '"';
}

// The window, its controls found by name as a test robot would, and a folder for files.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    QPushButton* Button(const QString& text) const;
    QStringList ObjectLines() const;
    QStringList SpriteLines() const;
    // Picks a line of a list with the keyboard, as a user would.
    void Select(COwnerDrawCombo* list, int line) const;
    // Clicks Open SWD, picks `file` in the file dialog and accepts it.
    void OpenThroughDialog(const QString& file) const;
    QImage PreviewImage() const;
    Shown Take() const;
    void Press(const QString& button) { Click(&dlg, button); }
    QString Path(const std::string& name) const {
        return QString::fromStdString((dir / name).string());
    }
    QString Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        fixtures::WriteFileBytes(dir / name, bytes);
        return Path(name);
    }
    QString WriteImage(const std::string& name, const BTCImageData& image,
                       ExportFormat format = ExportFormat::Png) {
        EXPECT_TRUE(ExportImage(image, (dir / name).string(), format));
        return Path(name);
    }
    // Opens these SWD bytes as the document.
    void Open(const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(dlg.OpenSwdFile(Write("doc.swd", bytes)));
    }

    fixtures::TempDir dir;
    CMainDlg dlg;
    QLineEdit* path;
    COwnerDrawCombo* objects;
    COwnerDrawCombo* sprites;
    QLabel* preview;
    QPlainTextEdit* info;
};

} // namespace apptest
