#pragma once

#include <QLineEdit>

// An edit field whose dialog can be kept from hearing about a change: while m_notify is 0 the
// field swallows its own "text changed" notice, so that filling one field from another does not
// start the other field's own reaction.
class CSilentEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CSilentEdit(QWidget* parent = nullptr);

    // Replaces the text with notices off; nothing at all when the text is already `text`.
    void SetTextQuietly(const QString& text);

    int m_notify = 1;

signals:
    // The text changed while m_notify was on.
    void Changed();
};
