#include "app/DialogUnits.h"

#include <QDialog>

namespace dlgunits {

void SetUpDialog(QDialog* dialog, const QString& title, int width, int height,
                 Qt::WindowFlags flags) {
    dialog->setWindowTitle(title);
    dialog->setWindowFlags(flags);
    QFont dialogFont = dialog->font();
    dialogFont.setPixelSize(11);
    dialog->setFont(dialogFont);
    dialog->setFixedSize(X(width), Y(height));
}

} // namespace dlgunits
