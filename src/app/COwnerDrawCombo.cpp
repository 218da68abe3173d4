#include "app/COwnerDrawCombo.h"

#include <QAbstractItemView>
#include <QListView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

COwnerDrawCombo::COwnerDrawCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setItemDelegate(new ItemDelegate(this));
    if (auto* list = qobject_cast<QListView*>(view())) {
        list->setUniformItemSizes(true);
    }
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A plain list that drops down below the control, not a menu placed over it.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

int COwnerDrawCombo::ItemHeight() const {
    return fontMetrics().height() + 2;
}

void COwnerDrawCombo::DrawItem(QPainter& painter, const QRect& rect, const QString& text,
                               bool selected, bool hasFocus, const QPalette& palette,
                               const QWidget* widget) {
    painter.save();
    const QColor textColour =
        selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    painter.fillRect(rect,
                     selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
    painter.setPen(textColour);
    painter.drawText(rect.adjusted(2, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (hasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = rect;
        focus.palette = palette;
        focus.backgroundColor =
            selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
        const QStyle* style = widget != nullptr ? widget->style() : nullptr;
        if (style != nullptr) {
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, widget);
        }
    }
    painter.restore();
}

void COwnerDrawCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The closed list shows its current item as selected while it has the focus.
    DrawItem(painter, field, currentIndex() >= 0 ? currentText() : QString(),
             hasFocus() && currentIndex() >= 0, hasFocus(), palette(), this);
}

COwnerDrawCombo::ItemDelegate::ItemDelegate(COwnerDrawCombo* combo)
    : QStyledItemDelegate(combo), m_combo(combo) {}

void COwnerDrawCombo::ItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    COwnerDrawCombo::DrawItem(
        *painter, option.rect, index.isValid() ? index.data(Qt::DisplayRole).toString() : QString(),
        selected, option.state.testFlag(QStyle::State_HasFocus), option.palette, option.widget);
}

QSize COwnerDrawCombo::ItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_combo->ItemHeight());
}
