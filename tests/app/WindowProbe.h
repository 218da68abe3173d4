#pragma once

#include "app/CMainDlg.h"
#include "app/COwnerDrawCombo.h"
#include "model/SpriteWad.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
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

// The window's controls as a user sees them, found by name the way a test robot would.
struct WindowProbe {
    explicit WindowProbe(CMainDlg& dialog);

    CMainDlg& dlg;
    QLineEdit* path;
    COwnerDrawCombo* objects;
    COwnerDrawCombo* sprites;
    QLabel* preview;
    QPlainTextEdit* info;

    QPushButton* Button(const QString& text) const;
    QStringList ObjectLines() const;
    QStringList SpriteLines() const;
    // Picks a line of a list with the keyboard, as a user would.
    void Select(COwnerDrawCombo* list, int line) const;
    // Clicks Open SWD, picks `file` in the file dialog and accepts it.
    void OpenThroughDialog(const QString& file) const;
    QImage PreviewImage() const;
};

// The blank preview field: the button face, 16 darker in each channel.
inline QColor FieldColour(const QWidget& window) {
    const QColor face = window.palette().color(QPalette::Button);
    return QColor(face.red() - 16, face.green() - 16, face.blue() - 16);
}

// The image built pixel by pixel from the B,G,R bytes, independently of the window's converter.
QImage ReferenceImage(const SpriteTexture& texture);

} // namespace apptest
