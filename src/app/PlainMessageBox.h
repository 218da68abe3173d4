#pragma once

#include <QApplication>
#include <QMessageBox>

// Every message box of the window. Its text shows as written (a "<b>" in a file name is no
// markup), and while it waits for the user the arrow replaces a command's wait cursor.
class PlainMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    int exec() override {
        setTextFormat(Qt::PlainText);
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int answer = QMessageBox::exec();
        QApplication::restoreOverrideCursor();
        return answer;
    }
};
