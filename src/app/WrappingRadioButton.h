#pragma once

#include <QRadioButton>

// An option button whose text wraps at word boundaries to fill the lines its rectangle has
// room for, where a plain option button would cut a long text at its right edge. A click
// anywhere in the rectangle chooses it.
class WrappingRadioButton : public QRadioButton {
    Q_OBJECT
public:
    WrappingRadioButton(const QString& text, QWidget* parent);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    // Where the text goes: the rectangle less the indicator and its spacing.
    QRect TextRect(const QRect& bounds) const;
    static constexpr int kTextFlags =
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
};
