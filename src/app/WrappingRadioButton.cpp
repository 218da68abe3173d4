#include "app/WrappingRadioButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

WrappingRadioButton::WrappingRadioButton(const QString& text, QWidget* parent)
    : QRadioButton(text, parent) {
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QRect WrappingRadioButton::TextRect(const QRect& bounds) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = bounds;
    return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
}

int WrappingRadioButton::heightForWidth(int width) const {
    const QRect room = TextRect(QRect(0, 0, width, QWIDGETSIZE_MAX));
    const int textHeight = fontMetrics().boundingRect(room, kTextFlags, text()).height();
    return std::max(textHeight, QRadioButton::sizeHint().height());
}

void WrappingRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The indicator sits in the middle of the first line, as the platform's own does.
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, this);
    const QRect textRect = TextRect(rect());
    const QRect textBounds = fontMetrics().boundingRect(textRect, kTextFlags, text());
    const int lineHeight = fontMetrics().height();
    QStyleOptionButton indicatorOption = option;
    indicatorOption.rect =
        QRect(0, textBounds.top() + (lineHeight - indicator) / 2,
              style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this), indicator);
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicatorOption);
    painter.drawItemText(textRect, kTextFlags, option.palette, isEnabled(), text(),
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textBounds.adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrappingRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}
