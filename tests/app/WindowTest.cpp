#include "WindowTest.h"

#include <QTest>

namespace apptest {

WindowTest::WindowTest()
    : path(dlg.findChild<QLineEdit*>("path")), objects(dlg.findChild<COwnerDrawCombo*>("objects")),
      sprites(dlg.findChild<COwnerDrawCombo*>("sprites")),
      preview(dlg.findChild<QLabel*>("preview")), info(dlg.findChild<QPlainTextEdit*>("info")) {
    EXPECT_TRUE(path && objects && sprites && preview && info);
}

QPushButton* WindowTest::Button(const QString& text) const {
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

QStringList WindowTest::ObjectLines() const {
    return Lines(objects);
}

QStringList WindowTest::SpriteLines() const {
    return Lines(sprites);
}

void WindowTest::Select(COwnerDrawCombo* list, int line) const {
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < line; ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    EXPECT_EQ(list->currentIndex(), line);
}

void WindowTest::OpenThroughDialog(const QString& file) const {
    AnswerFileDialog(file, 0, [](QFileDialog* fd) {
        EXPECT_EQ(fd->nameFilters(), QStringList{"Tomb Raider Sprites Wad File (*.swd)"});
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
    });
    Click(&dlg, "Open SWD");
}

QImage WindowTest::PreviewImage() const {
    return preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

void Click(const QWidget* parent, const QString& text) {
    for (QAbstractButton* button : parent->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

QLineEdit* Field(const QWidget* dialog, const char* name) {
    auto* field = dialog->findChild<QLineEdit*>(name);
    EXPECT_NE(field, nullptr) << name;
    return field;
}

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void AnswerMessage(QString* text, QMessageBox::StandardButton answer, std::function<void()> then) {
    WhenModal<QMessageBox>([=](QMessageBox* box) {
        if (text != nullptr) {
            *text = box->text();
        }
        if (then) {
            then();
        }
        box->button(answer)->click();
    });
}

QString Refusal(QDialog* dialog, QLineEdit* culprit) {
    QString text;
    AnswerMessage(&text);
    Click(dialog, "OK");
    EXPECT_TRUE(dialog->isVisible()) << "the dialog closed";
    EXPECT_EQ(dialog->focusWidget(), culprit);
    EXPECT_EQ(culprit->selectedText(), culprit->text());
    return text;
}

void AnswerFileDialog(const QString& file, int filter, std::function<void(QFileDialog*)> check) {
    WhenModal<QFileDialog>([=](QFileDialog* fd) {
        if (check) {
            check(fd);
        }
        auto* combo = fd->findChild<QComboBox*>("fileTypeCombo");
        if (filter > 0 && combo != nullptr) {
            combo->setCurrentIndex(filter - 1);
            emit combo->activated(filter - 1);
        }
        fd->findChild<QLineEdit*>("fileNameEdit")->setText(file);
        static_cast<QDialog*>(fd)->accept();
        EXPECT_FALSE(fd->isVisible()) << "the file dialog refused " << file.toStdString();
    });
}

QColor FieldColour(const QWidget& window) {
    const QColor face = window.palette().color(QPalette::Button);
    return QColor(face.red() - 16, face.green() - 16, face.blue() - 16);
}

QImage ReferenceImage(const SpriteTexture& texture) {
    QImage image(texture.GetWidth(), texture.GetHeight(), QImage::Format_RGB32);
    for (int y = 0; y < texture.GetHeight(); ++y) {
        for (int x = 0; x < texture.GetWidth(); ++x) {
            const auto p = fixtures::PixelAt(texture, x, y);
            image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
        }
    }
    return image;
}

Shown WindowTest::Take() const {
    return {ObjectLines(),
            SpriteLines(),
            objects->currentIndex(),
            sprites->currentIndex(),
            path->text(),
            info->toPlainText(),
            PreviewImage(),
            dlg.Document().m_sequences,
            dlg.Document().m_textures};
}

} // namespace apptest
