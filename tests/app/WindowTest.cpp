#include "WindowTest.h"
#include "app/AppSettings.h"
#include "formats/SwdFile.h"
#include "formats/SwoFile.h"
#include "packing/PackTextures.h"

namespace apptest {

FreshSettings::FreshSettings() {
    const QString file = AppSettings().FileName();
    EXPECT_TRUE(!QFile::exists(file) || QFile::remove(file)) << file.toStdString();
}

WindowTest::WindowTest()
    : path(dlg.findChild<QLineEdit*>("path")), objects(dlg.findChild<COwnerDrawCombo*>("objects")),
      sprites(dlg.findChild<COwnerDrawCombo*>("sprites")),
      preview(dlg.findChild<QLabel*>("preview")), info(dlg.findChild<QPlainTextEdit*>("info")) {}

QAbstractButton* FindButton(const QWidget* parent, const QString& text) {
    for (QAbstractButton* button : parent->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

QStringList Lines(const QComboBox* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->itemText(i));
    return lines;
}

void WindowTest::Select(COwnerDrawCombo* list, int line) const {
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < line; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex(), line);
}

void WindowTest::WaitForJobs() {
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            return !dlg.JobRuns() && dlg.ButtonAt(CMainDlg::kSaveAsSwd)->isEnabled() &&
                   dlg.ButtonAt(CMainDlg::kAddSplitTexture)->text() == "Add Split Texture";
        },
        120000));
}

void WindowTest::Activate() {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

void WindowTest::OpenSet(const SpriteWad& set, const std::string& name) {
    SpriteWad packed = set;
    ASSERT_TRUE(PackTextures(packed).ok());
    ASSERT_TRUE(swd::WriteSwdFile((dir / name).string(), packed).ok());
    ASSERT_TRUE(dlg.OpenSwdFile(Path(name)));
}

QString WindowTest::WriteSwo() {
    SpriteWad source;
    source.AddObject(460);
    source.AddTexture(0, fixtures::MakeTexture(9, 5, 31));
    EXPECT_TRUE(swo::WriteSwoFile((dir / "sky.swo").string(), source, 0).ok());
    return Path("sky.swo");
}

QImage WindowTest::PreviewImage() const {
    return preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

void Click(const QWidget* parent, const QString& text) {
    if (QAbstractButton* button = FindButton(parent, text)) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
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
        EXPECT_TRUE(qobject_cast<QFileDialog*>(box->parentWidget()) || // the dialog's own asks
                    box->textFormat() == Qt::PlainText);
        // A message waits for the user, who sees the arrow while it shows.
        const QCursor* cursor = QApplication::overrideCursor();
        EXPECT_TRUE(cursor == nullptr || cursor->shape() == Qt::ArrowCursor)
            << box->text().toStdString();
        if (then) {
            then();
        }
        if (QAbstractButton* button = box->button(answer)) {
            button->click();
        } else {
            ADD_FAILURE() << "unexpected message: " << box->text().toStdString();
            box->reject();
        }
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
        if (check)
            check(fd);
        auto* combo = fd->findChild<QComboBox*>("fileTypeCombo");
        if (filter > 0 && combo != nullptr) {
            // As a pick by the user does: the dialog hears both signals.
            combo->setCurrentIndex(filter - 1);
            emit combo->activated(filter - 1);
            emit combo->textActivated(combo->itemText(filter - 1));
        }
        // The name typed is the one taken, as when a user types it: a file the dialog selected
        // in its list (the name it was opened on, once the folder is read) would win over it.
        fd->findChild<QListView*>("listView")->clearSelection();
        fd->findChild<QLineEdit*>("fileNameEdit")->setText(file);
        static_cast<QDialog*>(fd)->accept();
        EXPECT_FALSE(fd->isVisible()) << "the file dialog refused " << file.toStdString();
    });
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
    return {ObjectLines(), SpriteLines(),       objects->currentIndex(), sprites->currentIndex(),
            path->text(),  info->toPlainText(), PreviewImage(),          dlg.Wad()};
}

} // namespace apptest
