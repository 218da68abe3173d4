#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

// A drop-down list without typing whose fixed-height items are drawn by the class itself:
// the selected item on the highlight colour, every other item on the list's background,
// the text on one vertically centred, left-aligned line, and a focus rectangle around the
// item that has the focus. The closed list shows its current item the same way.
class COwnerDrawCombo : public QComboBox {
    Q_OBJECT
public:
    explicit COwnerDrawCombo(QWidget* parent = nullptr);

    // Height of every item, in pixels.
    int ItemHeight() const;

    // Draws one item. `text` is empty when there is no item to draw.
    static void DrawItem(QPainter& painter, const QRect& rect, const QString& text, bool selected,
                         bool hasFocus, const QPalette& palette, const QWidget* widget);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class ItemDelegate : public QStyledItemDelegate {
    public:
        explicit ItemDelegate(COwnerDrawCombo* combo);
        void paint(QPainter* painter, const QStyleOptionViewItem& option,
                   const QModelIndex& index) const override;
        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    private:
        COwnerDrawCombo* m_combo;
    };
};
