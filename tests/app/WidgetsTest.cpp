// The window's own widgets, images and file dialog filters on their own.
#include "app/COwnerDrawCombo.h"
#include "app/FileDialogFilters.h"
#include "app/QtImage.h"
#include "app/WadListModels.h"
#include "pixels/MagentaCheckerboard.h"
#include "support/Fixtures.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QToolTip>
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

// Each preview pixel is the texture pixel under it at the zoom's factor, from the top-left
// corner and cut off at the frame; only exact magenta becomes the checkerboard of the frame.
TEST(PreviewImage, WholePixelsFromTheTopLeftClippedToTheFrameAndMagentaAtEveryZoom) {
    BTCImageData odd = fixtures::MakeTexture(5, 3, 9);
    const std::uint32_t nearMisses[] = {0xFF00FF, 0xFE00FF, 0xFF01FF, 0xFF00FE};
    for (int i = 0; i < 4; ++i) {
        odd.Fill(i, 2, 1, 1, nearMisses[i]);
    }
    const BTCImageData square = fixtures::MakeTexture(64, 64, 4);
    const std::tuple<const BTCImageData*, int, bool, int, QSize> rows[] = {
        {&odd, 1, false, 1, {5, 3}},
        {&odd, 2, true, 2, {10, 6}},
        {&odd, kZoomToFit, true, 51, {255, 153}},
        {&square, 8, true, 8, {256, 256}},
        {&square, kZoomToFit, false, 4, {256, 256}}};
    for (const auto& [texture, choice, magenta, factor, size] : rows) {
        SCOPED_TRACE(factor);
        ASSERT_EQ(PreviewZoomFactor(choice, texture->GetWidth(), texture->GetHeight()), factor);
        const QImage shown = ToPreviewImage(*texture, magenta, factor);
        ASSERT_EQ(shown.size(), size);
        int wrong = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                auto p = fixtures::PixelAt(*texture, x / factor, y / factor);
                if (magenta && checkerboard::IsMagenta(p.data())) {
                    p.fill(checkerboard::Level(x, y));
                }
                wrong += shown.pixel(x, y) != qRgb(p[2], p[1], p[0]);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// An object line too long for the list keeps its slot number and its count at every width and
// loses only the middle of its name, more of it the narrower the list; a line that fits is
// drawn as it is.
TEST(OwnerDrawCombo, LongObjectLineKeepsSlotAndCount) {
    COwnerDrawCombo list;
    const QFontMetrics metrics(list.font());
    const QString ellipsis = QStringLiteral("\u2026");
    const struct {
        QString head, name, tail;
    } lines[] = {
        {"503: ", "UNKNOWN_SPRITES", "  Textures=20480"},
        {"16: ", "LARA_HOLSTERS_SIXSHOOTER", "  Textures=2"},
        {"4294967295: ", "UNKNOWN_SPRITES", "  Textures=32767"},
    };
    for (const auto& line : lines) {
        const QString whole = line.head + line.name + line.tail;
        SCOPED_TRACE(whole.toStdString());
        qsizetype lastNameLength = 0;
        for (int width = 80; width <= 400; ++width) {
            SCOPED_TRACE(width);
            const QString shown = COwnerDrawCombo::FittedText(
                whole, {line.head, line.name, line.tail}, metrics, width);
            if (metrics.horizontalAdvance(whole) <= width) {
                EXPECT_EQ(shown, whole);
                continue;
            }
            ASSERT_TRUE(shown.startsWith(line.head) && shown.endsWith(line.tail));
            const QString name =
                shown.mid(line.head.size(), shown.size() - line.head.size() - line.tail.size());
            ASSERT_EQ(name.count(ellipsis), 1);
            const QString kept = QString(name).remove(ellipsis);
            const qsizetype cut = name.indexOf(ellipsis);
            EXPECT_TRUE(line.name.startsWith(kept.left(cut)) && line.name.endsWith(kept.mid(cut)));
            EXPECT_LT(kept.size(), line.name.size());
            // Narrower than the bare slot, cut and count, the name is "…" alone.
            EXPECT_TRUE(metrics.horizontalAdvance(shown) <= width || name == ellipsis);
            EXPECT_GE(kept.size(), lastNameLength) << "a wider list never shows less";
            lastNameLength = kept.size();
        }
    }
    EXPECT_EQ(COwnerDrawCombo::FittedText("Texture 12 :  (256 x 256)", {}, metrics, 20),
              "Texture 12 :  (256 x 256)")
        << "only lines given in parts are shortened";
}

// An object line of the wad's list, shortened, shows whole as the tooltip, of the closed list
// and of the open list's item; a line that fits has none.
TEST(OwnerDrawCombo, ShortenedLineShowsWholeAsItsTooltip) {
    QWidget window;
    auto* list = new COwnerDrawCombo(&window);
    list->setGeometry(0, 0, 160, 24);
    SpriteWad wad;
    for (const auto& [slot, count] : {std::pair{0u, 1}, {16u, 2}}) {
        const std::size_t object = *wad.AppendObject(slot);
        for (int k = 0; k < count; ++k) {
            wad.AddTexture(object, fixtures::MakeTexture(1, 1, 0));
        }
    }
    auto* lines = new ObjectListModel(wad, list);
    lines->Reset();
    list->setModel(lines);
    const QString longLine = "16: LARA_HOLSTERS_SIXSHOOTER  Textures=2";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto tooltipOver = [](QWidget* widget, QPoint at) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    for (const int line : {0, 1}) {
        list->setCurrentIndex(line);
        EXPECT_EQ(tooltipOver(list, list->rect().center()).toStdString(),
                  (line == 1 ? longLine : QString()).toStdString());
    }
    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    for (const int line : {0, 1}) {
        const QPoint at = view->visualRect(list->model()->index(line, 0)).center();
        EXPECT_EQ(tooltipOver(view->viewport(), at).toStdString(),
                  (line == 1 ? longLine : QString()).toStdString());
    }
    list->hidePopup();
    QToolTip::hideText();
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
