#include "app/DialogFields.h"

#include "app/AppResources.h"
#include "app/PlainMessageBox.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QValidator>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace dlgfields {

namespace {

// Refuses anything but digits, and any change that makes the text longer than the limit.
// Shortening a longer text that the program put there stays possible.
class TypedDigitsValidator : public QValidator {
public:
    TypedDigitsValidator(QLineEdit* field, int maxLength)
        : QValidator(field), m_maxLength(maxLength), m_lastLength(field->text().size()) {
        connect(field, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_lastLength = text.size(); });
    }

    State validate(QString& input, int&) const override {
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                return Invalid;
            }
        }
        const bool tooLong = m_maxLength > 0 && input.size() > m_maxLength;
        return tooLong && input.size() > m_lastLength ? Invalid : Acceptable;
    }

private:
    int m_maxLength;
    qsizetype m_lastLength;
};

} // namespace

void RefuseField(QLineEdit* field, const QString& text, QMessageBox::Icon icon) {
    PlainMessageBox box(icon, appres::kAppTitle, text, QMessageBox::Ok, field->window());
    box.exec();
    field->setFocus(Qt::OtherFocusReason);
    // Selected from the end back to the start, so that the start is what shows.
    const int length = static_cast<int>(field->text().size());
    field->setSelection(length, -length);
}

std::optional<int> ReadInteger(QLineEdit* field) {
    bool ok = false;
    const int value = field->text().trimmed().toInt(&ok);
    if (!ok) {
        RefuseField(field, QStringLiteral("Please enter an integer."), QMessageBox::Warning);
        return std::nullopt;
    }
    return value;
}

std::optional<int> ReadInteger(QLineEdit* field, int min, int max) {
    const std::optional<int> value = ReadInteger(field);
    if (value && (*value < min || *value > max)) {
        RefuseField(field,
                    QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max),
                    QMessageBox::Warning);
        return std::nullopt;
    }
    return value;
}

void DigitsOnly(QLineEdit* field, int maxLength) {
    field->setValidator(new TypedDigitsValidator(field, maxLength));
}

int ReadTypedNumber(std::string_view text) {
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min(kIntMax, value * 10 + (c - '0'));
    }
    return static_cast<int>(value);
}

} // namespace dlgfields
