#include "app/CSilentEdit.h"

CSilentEdit::CSilentEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_notify != 0) {
            emit Changed();
        }
    });
}

void CSilentEdit::SetTextQuietly(const QString& text) {
    if (this->text() == text) {
        return;
    }
    const int notify = m_notify;
    m_notify = 0;
    setText(text);
    m_notify = notify;
}
