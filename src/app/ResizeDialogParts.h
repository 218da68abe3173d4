#pragma once

#include "images/ResizeMath.h"

#include <QRect>
#include <QString>

#include <optional>
#include <utility>

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QLineEdit;
class QWidget;

// The parts that Resize Image and Resize Image Range share, placed in dialog units.
namespace resizeparts {

QFrame* AddEtchedFrame(QWidget* parent, const QRect& rect);
// A group box `title` at `top` holding two labelled fields side by side, both taking at most
// 6 typed digits. The fields are named after their labels ("width", "start", ...).
void AddFieldPair(QDialog* dialog, const QString& title, int top, const QString& firstLabel,
                  QLineEdit* first, const QString& secondLabel, QLineEdit* second);

struct FilterControls {
    QCheckBox* keepAspect;
    QComboBox* filter;
};
// An etched frame at `top` with "Preserve aspect ratio" and "Resize Filter:" with the list
// "Stretch", "Bilinear".
FilterControls AddFilterFrame(QDialog* dialog, int top);
// The filter that item `choice` of the "Resize Filter:" list stands for.
ResizeFilter FilterOfChoice(int choice);
// OK (the default button) and Cancel at `top`.
void AddOkCancel(QDialog* dialog, int top);
// The new width and height, 1 to 256 each; the first bad field is refused with its prompt.
std::optional<std::pair<int, int>> ReadNewSize(QLineEdit* width, QLineEdit* height);

} // namespace resizeparts
