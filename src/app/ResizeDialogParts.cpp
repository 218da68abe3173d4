#include "app/ResizeDialogParts.h"

#include "app/DialogFields.h"
#include "app/DialogUnits.h"
#include "pixels/PageSide.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace resizeparts {

namespace {

constexpr int kWidth = 176;
constexpr int kLeft = 7;

void AddField(QWidget* parent, const QString& label, QLineEdit* field, int x, int y) {
    auto* text = new QLabel(label, parent);
    text->setGeometry(dlgunits::Rect(x, y, 34, 13));
    field->setParent(parent);
    field->setObjectName(label.chopped(1).toLower());
    field->setGeometry(dlgunits::Rect(x + 36, y, 40, 13));
    dlgfields::DigitsOnly(field, 6);
}

} // namespace

QFrame* AddEtchedFrame(QWidget* parent, const QRect& rect) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(rect);
    return frame;
}

void AddFieldPair(QDialog* dialog, const QString& title, int top, const QString& firstLabel,
                  QLineEdit* first, const QString& secondLabel, QLineEdit* second) {
    auto* group = new QGroupBox(title, dialog);
    group->setGeometry(dlgunits::Rect(kLeft, top, kWidth, 32));
    AddField(group, firstLabel, first, 7, 13);
    AddField(group, secondLabel, second, 92, 13);
}

FilterControls AddFilterFrame(QDialog* dialog, int top) {
    AddEtchedFrame(dialog, dlgunits::Rect(kLeft, top, kWidth, 32));
    auto* keepAspect = new QCheckBox(QStringLiteral("Preserve aspect ratio"), dialog);
    keepAspect->setGeometry(dlgunits::Rect(kLeft + 7, top + 3, 120, 11));
    auto* label = new QLabel(QStringLiteral("Resize Filter:"), dialog);
    label->setGeometry(dlgunits::Rect(kLeft + 7, top + 16, 58, 13));
    auto* filter = new QComboBox(dialog);
    filter->setObjectName(QStringLiteral("filter"));
    filter->addItems({QStringLiteral("Stretch"), QStringLiteral("Bilinear")});
    filter->setGeometry(dlgunits::Rect(kLeft + 67, top + 16, 60, 13));
    return {keepAspect, filter};
}

void AddOkCancel(QDialog* dialog, int top) {
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setGeometry(dlgunits::Rect(kLeft + kWidth - 104, top, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setGeometry(dlgunits::Rect(kLeft + kWidth - 50, top, 50, 14));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

std::optional<std::pair<int, int>> ReadNewSize(QLineEdit* width, QLineEdit* height) {
    const std::optional<int> w = dlgfields::ReadInteger(width, 1, kPageSide);
    const std::optional<int> h = w ? dlgfields::ReadInteger(height, 1, kPageSide) : std::nullopt;
    return h ? std::optional(std::pair(*w, *h)) : std::nullopt;
}

ResizeFilter FilterOfChoice(int choice) {
    return choice == 0 ? ResizeFilter::Stretch : ResizeFilter::Bilinear;
}

} // namespace resizeparts
