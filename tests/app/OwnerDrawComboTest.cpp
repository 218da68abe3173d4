#include "app/COwnerDrawCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Counts the pixels of each colour in the item's rectangle.
int Count(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixelColor(x, y) == colour;
        }
    }
    return n;
}

QImage Draw(const QString& text, bool selected, const QPalette& palette) {
    QImage image(160, 18, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    COwnerDrawCombo::DrawItem(painter, image.rect(), text, selected, false, palette, nullptr);
    return image;
}

} // namespace

TEST(OwnerDrawCombo, SelectedItemsUseTheHighlightColoursOthersTheListColours) {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::HighlightedText, QColor(250, 250, 0));
    palette.setColor(QPalette::Base, QColor(10, 120, 10));
    palette.setColor(QPalette::Text, QColor(200, 0, 0));

    const QImage selected = Draw("Texture 0 :  (64 x 64)", true, palette);
    const int area = selected.width() * selected.height();
    EXPECT_EQ(Count(selected, palette.color(QPalette::Highlight)) +
                  Count(selected, palette.color(QPalette::HighlightedText)),
              area)
        << "only the highlight and its text colour";
    EXPECT_GT(Count(selected, palette.color(QPalette::HighlightedText)), 20) << "the text shows";

    const QImage plain = Draw("Texture 0 :  (64 x 64)", false, palette);
    EXPECT_EQ(Count(plain, palette.color(QPalette::Base)) +
                  Count(plain, palette.color(QPalette::Text)),
              area);
    EXPECT_GT(Count(plain, palette.color(QPalette::Text)), 20);

    const QImage none = Draw(QString(), false, palette);
    EXPECT_EQ(Count(none, palette.color(QPalette::Base)), area) << "no item: an empty field";
}

// The closed list shows its current item highlighted only while it has the focus.
TEST(OwnerDrawCombo, ClosedListIsHighlightedOnlyWithTheFocus) {
    QWidget window;
    auto* list = new COwnerDrawCombo(&window);
    auto* other = new COwnerDrawCombo(&window);
    list->setGeometry(0, 0, 200, 24);
    other->setGeometry(0, 30, 200, 24);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    list->setPalette(palette);
    list->addItems({"463: DEFAULT_SPRITES  Textures=33", "470: FONT_GRAPHICS  Textures=21"});
    list->setCurrentIndex(1);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    const QColor highlight = palette.color(QPalette::Highlight);
    for (const bool focused : {false, true, false}) {
        (focused ? list : other)->setFocus();
        ASSERT_EQ(list->hasFocus(), focused);
        const int lit = Count(list->grab().toImage(), highlight);
        if (focused) {
            EXPECT_GT(lit, 100);
        } else {
            EXPECT_EQ(lit, 0);
        }
    }
}

// Items are one line of the list's font with a pixel above and below, whatever their text.
TEST(OwnerDrawCombo, EveryItemIsOneFixedHeightLine) {
    COwnerDrawCombo list;
    QFont font = list.font();
    font.setPixelSize(13);
    list.setFont(font);
    list.addItems({"460: SKY_GRAPHICS  Textures=4", "", "Texture 31 :  (256 x 256)"});
    EXPECT_EQ(list.ItemHeight(), QFontMetrics(font).height() + 2);
    for (int row = 0; row < list.count(); ++row) {
        EXPECT_EQ(list.view()->sizeHintForRow(row), list.ItemHeight()) << row;
    }
}
