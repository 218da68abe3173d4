#include "app/COwnerDrawCombo.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QListView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolTip>

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

} // namespace

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
                               const QStringList& parts, bool selected, bool hasFocus,
                               const QPalette& palette, const QWidget* widget) {
    painter.save();
    const QColor textColour =
        selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    painter.fillRect(rect,
                     selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
    painter.setPen(textColour);
    const QRect textRect = TextRect(rect);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     FittedText(text, parts, painter.fontMetrics(), textRect.width()));
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

QString COwnerDrawCombo::FittedText(const QString& text, const QStringList& parts,
                                    const QFontMetrics& metrics, int width) {
    if (parts.size() != 3 || metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const QString& head = parts[0];
    const QString& name = parts[1];
    const QString& tail = parts[2];
    // The parts are measured apart; the room shrinks further in the rare case where the joined
    // line comes out wider than their sum.
    int room = width - metrics.horizontalAdvance(head) - metrics.horizontalAdvance(tail);
    for (;;) {
        QString shortName = metrics.elidedText(name, Qt::ElideMiddle, room);
        if (!shortName.contains(kEllipsis)) {
            shortName = kEllipsis;
        }
        const QString fitted = head + shortName + tail;
        if (shortName == kEllipsis || metrics.horizontalAdvance(fitted) <= width) {
            return fitted;
        }
        --room;
    }
}

QRect COwnerDrawCombo::FieldRect() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                   this);
}

void COwnerDrawCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    // The closed list shows its current item as selected while it has the focus.
    const QModelIndex current = CurrentModelIndex();
    DrawItem(painter, FieldRect(), current.data(Qt::DisplayRole).toString(),
             current.data(kPartsRole).toStringList(), hasFocus() && current.isValid(), hasFocus(),
             palette(), this);
}

QModelIndex COwnerDrawCombo::CurrentModelIndex() const {
    return currentIndex() >= 0 ? model()->index(currentIndex(), modelColumn(), rootModelIndex())
                               : QModelIndex();
}

void COwnerDrawCombo::ShowWholeLine(const QHelpEvent* event, const QModelIndex& index,
                                    const QRect& item, QWidget* widget) {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect textRect = TextRect(item);
    if (!text.isEmpty() && FittedText(text, index.data(kPartsRole).toStringList(),
                                      widget->fontMetrics(), textRect.width()) != text) {
        QToolTip::showText(event->globalPos(), text, widget, item);
    } else {
        QToolTip::hideText();
    }
}

bool COwnerDrawCombo::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QComboBox::event(event);
    }
    ShowWholeLine(static_cast<QHelpEvent*>(event), CurrentModelIndex(), FieldRect(), this);
    return true;
}

COwnerDrawCombo::ItemDelegate::ItemDelegate(COwnerDrawCombo* combo)
    : QStyledItemDelegate(combo), m_combo(combo) {}

void COwnerDrawCombo::ItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    COwnerDrawCombo::DrawItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(),
                              index.data(kPartsRole).toStringList(), selected,
                              option.state.testFlag(QStyle::State_HasFocus), option.palette,
                              option.widget);
}

bool COwnerDrawCombo::ItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                              const QStyleOptionViewItem& option,
                                              const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    ShowWholeLine(event, index, option.rect, view->viewport());
    return true;
}

QSize COwnerDrawCombo::ItemDelegate::sizeHint(const QStyleOptionViewItem&,
                                              const QModelIndex&) const {
    // No width of its own: every item is as wide as the open list, which shortens a line too
    // long for it instead of letting it run out of sight.
    return QSize(0, m_combo->ItemHeight());
}
