#include "WindowProbe.h"

#include "ModalDriver.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

namespace apptest {

WindowProbe::WindowProbe(CMainDlg& dialog)
    : dlg(dialog), path(dialog.findChild<QLineEdit*>("path")),
      objects(dialog.findChild<COwnerDrawCombo*>("objects")),
      sprites(dialog.findChild<COwnerDrawCombo*>("sprites")),
      preview(dialog.findChild<QLabel*>("preview")),
      info(dialog.findChild<QPlainTextEdit*>("info")) {
    EXPECT_NE(path, nullptr);
    EXPECT_NE(objects, nullptr);
    EXPECT_NE(sprites, nullptr);
    EXPECT_NE(preview, nullptr);
    EXPECT_NE(info, nullptr);
}

QPushButton* WindowProbe::Button(const QString& text) const {
    for (QPushButton* button : dlg.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

static QStringList Lines(const QComboBox* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        lines.append(list->itemText(i));
    }
    return lines;
}

QStringList WindowProbe::ObjectLines() const {
    return Lines(objects);
}

QStringList WindowProbe::SpriteLines() const {
    return Lines(sprites);
}

void WindowProbe::Select(COwnerDrawCombo* list, int line) const {
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < line; ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    EXPECT_EQ(list->currentIndex(), line);
}

void WindowProbe::OpenThroughDialog(const QString& file) const {
    WhenModal<QFileDialog>([file](QFileDialog* fd) {
        EXPECT_EQ(fd->nameFilters(), QStringList{"Tomb Raider Sprites Wad File (*.swd)"});
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
        // Put the full name into the file name field, as a user pasting it does.
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(file);
        EXPECT_EQ(fd->selectedFiles(), QStringList{file});
        static_cast<QDialog*>(fd)->accept();
        EXPECT_FALSE(fd->isVisible()) << "the file dialog refused " << file.toStdString();
    });
    QTest::mouseClick(Button("Open SWD"), Qt::LeftButton);
}

QImage WindowProbe::PreviewImage() const {
    return preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage ReferenceImage(const SpriteTexture& texture) {
    QImage image(texture.GetWidth(), texture.GetHeight(), QImage::Format_RGB32);
    const std::uint8_t* bits = texture.GetBits();
    for (int y = 0; y < texture.GetHeight(); ++y) {
        for (int x = 0; x < texture.GetWidth(); ++x) {
            const std::uint8_t* p =
                bits + (static_cast<std::size_t>(y) * texture.GetWidth() + x) * 3;
            image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    }
    return image;
}

} // namespace apptest
