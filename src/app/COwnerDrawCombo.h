#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

// A drop-down list without typing whose fixed-height items are drawn by the class itself:
// the selected item on the highlight colour, every other item on the list's background,
// the text on one vertically centred, left-aligned line, and a focus rectangle around the
// item that has the focus. The closed list shows its current item the same way. An item that
// gives its line in parts (kPartsRole) and is too long for the list is shortened in the middle
// part only, and shows whole as its tooltip.
class COwnerDrawCombo : public QComboBox {
    Q_OBJECT
public:
    // The role under which an item may give its line as a QStringList of three parts: a head
    // and a tail always shown whole, and a name between them that may be shortened.
    static constexpr int kPartsRole = Qt::UserRole;

    explicit COwnerDrawCombo(QWidget* parent = nullptr);

    // Height of every item, in pixels.
    int ItemHeight() const;

    // Draws one item's `text` (`parts` as under kPartsRole, or none). `text` is empty when there
    // is no item to draw.
    static void DrawItem(QPainter& painter, const QRect& rect, const QString& text,
                         const QStringList& parts, bool selected, bool hasFocus,
                         const QPalette& palette, const QWidget* widget);
    // The text as drawn in `width` pixels: the whole line when it fits. A line given in three
    // `parts` that does not fit keeps the head ("N: ") and the tail ("  Textures=M") and loses
    // the middle of the name, with "…" where it was cut (the name shrinks to "…" at least).
    // Other lines are drawn whole.
    static QString FittedText(const QString& text, const QStringList& parts,
                              const QFontMetrics& metrics, int width);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The part of an item's rectangle its text is drawn in.
    static QRect TextRect(const QRect& item) { return item.adjusted(2, 0, 0, 0); }
    // Shows the line of `index` as the tooltip when it was shortened in `item`, hides any
    // tooltip otherwise.
    static void ShowWholeLine(const QHelpEvent* event, const QModelIndex& index, const QRect& item,
                              QWidget* widget);
    QModelIndex CurrentModelIndex() const;
    QRect FieldRect() const;

    class ItemDelegate : public QStyledItemDelegate {
    public:
        explicit ItemDelegate(COwnerDrawCombo* combo);
        void paint(QPainter* painter, const QStyleOptionViewItem& option,
                   const QModelIndex& index) const override;
        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
        bool helpEvent(QHelpEvent* event, QAbstractItemView* view,
                       const QStyleOptionViewItem& option, const QModelIndex& index) override;

    private:
        COwnerDrawCombo* m_combo;
    };
};
