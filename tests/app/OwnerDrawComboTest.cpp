#include "app/COwnerDrawCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int Count(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixelColor(x, y) == colour;
        }
    }
    return n;
}

} // namespace

// Drawn items use only the highlight colours when selected, the list colours otherwise.
TEST(OwnerDrawCombo, ItemColoursFollowTheSelection) {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::HighlightedText, QColor(250, 250, 0));
    palette.setColor(QPalette::Base, QColor(10, 120, 10));
    palette.setColor(QPalette::Text, QColor(200, 0, 0));
    const struct {
        QString text;
        bool selected;
        QPalette::ColorRole back, fore;
    } cases[] = {{"Texture 0 :  (64 x 64)", true, QPalette::Highlight, QPalette::HighlightedText},
                 {"Texture 0 :  (64 x 64)", false, QPalette::Base, QPalette::Text},
                 {"", false, QPalette::Base, QPalette::Text}};
    for (const auto& c : cases) {
        QImage image(160, 18, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
        COwnerDrawCombo::DrawItem(painter, image.rect(), c.text, c.selected, false, palette,
                                  nullptr);
        painter.end();
        const int text = Count(image, palette.color(c.fore));
        EXPECT_EQ(Count(image, palette.color(c.back)) + text, 160 * 18) << c.selected;
        EXPECT_EQ(text > 20, !c.text.isEmpty()) << "the text shows, and only with an item";
        EXPECT_EQ(text == 0, c.text.isEmpty());
    }
}

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
        const int lit = Count(list->grab().toImage(), QColor(0, 0, 200));
        EXPECT_EQ(lit > 100, focused);
        EXPECT_EQ(lit == 0, !focused);
    }
    for (int row = 0; row < list->count(); ++row) {
        EXPECT_EQ(list->view()->sizeHintForRow(row), QFontMetrics(list->font()).height() + 2);
    }
}
