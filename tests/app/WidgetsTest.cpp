// The window's own widgets, images and file dialog filters on their own.
#include "app/COwnerDrawCombo.h"
#include "app/FileDialogFilters.h"
#include "app/QtImage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

// The closed list shows its current item highlighted only while it has the focus; items are
// one line of the list's font with a pixel above and below.
TEST(OwnerDrawCombo, FocusHighlightAndItemHeight) {
    QWidget window;
    auto* list = new COwnerDrawCombo(&window);
    auto* other = new COwnerDrawCombo(&window);
    list->setGeometry(0, 0, 200, 24);
    other->setGeometry(0, 30, 200, 24);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    list->setPalette(palette);
    list->addItems({"463: DEFAULT_SPRITES  Textures=33", "", "470: FONT_GRAPHICS  Textures=21"});
    list->setCurrentIndex(2);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const bool focused : {false, true, false}) {
        (focused ? list : other)->setFocus();
        const QImage shown = list->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(shown.constBits());
        const auto lit = std::count(pixels, pixels + shown.sizeInBytes() / 4, qRgb(0, 0, 200));
        EXPECT_EQ(lit > 100, focused);
        EXPECT_EQ(lit == 0, !focused);
    }
    EXPECT_EQ(list->view()->sizeHintForRow(1), QFontMetrics(list->font()).height() + 2);
}

// Only pixels of exactly 0xFF00FF turn into the light grey checkerboard; near misses stay.
TEST(MagentaPreview, OnlyExactMagentaBecomesTheLightCheckerboard) {
    BTCImageData texture;
    texture.Create(16, 2);
    texture.Fill(0, 0, 16, 1, 0xFF00FF);
    const std::uint32_t nearMisses[] = {0xFE00FF, 0xFF01FF, 0xFF00FE, 0x123456};
    for (int i = 0; i < 4; ++i) {
        texture.Fill(i, 1, 1, 1, nearMisses[i]);
    }
    EXPECT_EQ(ToPreviewImage(texture, false), ToQImage(texture));
    const QImage shown = ToPreviewImage(texture, true);
    EXPECT_EQ(shown.copy(0, 1, 16, 1), ToQImage(texture).copy(0, 1, 16, 1));
    EXPECT_NE(shown.pixel(0, 0), shown.pixel(8, 0)) << "neighbouring cells alternate";
}

// The filters come from the format table; the texts, the patterns they match and the format
// each export filter stands for are the ones the dialogs have always had.
TEST(FileDialogFilters, DerivedFromTheFormatTableAsTheyWere) {
    const std::vector<std::pair<QString, QString>> open = {
        {"All Supported Images", "*.bmp *.pcx *.png *.tga *.tif *.tiff *.jpg *.jpe *.jpeg *.jfif"},
        {"BMP (*.bmp)", "*.bmp"},
        {"PCX (*.pcx)", "*.pcx"},
        {"PNG (*.png)", "*.png"},
        {"TGA (*.tga)", "*.tga"},
        {"TIFF (*.tif, *.tiff)", "*.tif *.tiff"},
        {"JPEG (*.jpg, *.jpe, *.jpeg, *.jfif)", "*.jpg *.jpe *.jpeg *.jfif"},
    };
    std::vector<std::pair<QString, QString>> exports(open.begin() + 1, open.end());
    exports.emplace_back("RAW (*.raw)", "*.raw");
    const auto pairs = [](const std::vector<FileFilter>& filters) {
        std::vector<std::pair<QString, QString>> out;
        for (const FileFilter& filter : filters) {
            out.emplace_back(filter.text, filter.patterns);
        }
        return out;
    };
    EXPECT_EQ(pairs(ImageOpenFilters()), open);
    EXPECT_EQ(pairs(ExportFilters()), exports);
    const ImageFormat byIndex[] = {ImageFormat::Bmp, ImageFormat::Pcx,  ImageFormat::Png,
                                   ImageFormat::Tga, ImageFormat::Tiff, ImageFormat::Jpeg,
                                   ImageFormat::Raw};
    for (int index = 1; index <= 7; ++index) {
        EXPECT_EQ(ExportFilterFormat(index), byIndex[index - 1]) << index;
    }
    EXPECT_EQ(ExportFilterFormat(0), ImageFormat::Bmp);
    EXPECT_EQ(ExportFilterFormat(8), ImageFormat::Bmp);
}
