#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>
#include <string_view>

class QLineEdit;
class QWidget;

// Checks of the values typed into dialog fields, made when a dialog's OK is pressed. A field
// that fails is reported in a message box, gets the focus with its whole text selected, and
// the dialog stays open.
namespace dlgfields {

// The field's whole number, or "Please enter an integer." when it holds none.
std::optional<int> ReadInteger(QLineEdit* field);
// The same, and "Please enter an integer between MIN and MAX." when it lies outside them.
std::optional<int> ReadInteger(QLineEdit* field, int min, int max);
// Shows `text` with only an OK button, then focuses the field and selects its text.
void RefuseField(QLineEdit* field, const QString& text, QMessageBox::Icon icon);
// A size field's text read as a whole number while the user types: its leading digits, 0 when
// it starts with none. Numbers too long for an int read as the largest int.
int ReadTypedNumber(std::string_view text);
// Lets the user type only digits, and no more than maxLength of them when maxLength is
// positive. Text the program puts into the field is not cut short.
void DigitsOnly(QLineEdit* field, int maxLength = 0);

} // namespace dlgfields
