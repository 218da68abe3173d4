#include "app/COwnerDrawCombo.h"

#include <QImage>
#include <QPainter>
#include <QPalette>
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
