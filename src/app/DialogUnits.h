#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QDialog;

// The window layouts are given in dialog units of an 8-point "MS Sans Serif" dialog font,
// whose base units are 6 x 13 pixels: a horizontal unit is 1.5 pixels, a vertical one 1.625.
// The conversion rounds to the nearest pixel, as the platform's MulDiv does.
namespace dlgunits {

constexpr int X(int du) {
    return (du * 6 + 2) / 4;
}
constexpr int Y(int du) {
    return (du * 13 + 4) / 8;
}
// Position and size are converted separately, as the platform does for dialog templates.
inline QRect Rect(int x, int y, int width, int height) {
    return QRect(X(x), Y(y), X(width), Y(height));
}

// A title bar with a system menu and a close box.
inline constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
// Title, frame, a fixed size of width x height units and the 11-pixel (8-point) dialog font
// the layouts are measured for.
void SetUpDialog(QDialog* dialog, const QString& title, int width, int height,
                 Qt::WindowFlags flags = kDialogFlags);

} // namespace dlgunits
