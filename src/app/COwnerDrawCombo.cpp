#include "app/COwnerDrawCombo.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QListView>
#include <QPainter>
#include <QRegularExpression>
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
                               bool selected, bool hasFocus, const QPalette& palette,
                               const QWidget* widget) {
    painter.save();
    const QColor textColour =
        selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    painter.fillRect(rect,
                     selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
    painter.setPen(textColour);
    const QRect textRect = TextRect(rect);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     FittedText(text, painter.fontMetrics(), textRect.width()));
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

QString COwnerDrawCombo::FittedText(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    static const QRegularExpression kObjectLine(QStringLiteral("^(\\d+: )(.*)(  Textures=\\d+)$"));
    const QRegularExpressionMatch line = kObjectLine.match(text);
    if (!line.hasMatch()) {
        return text;
    }
    const QString head = line.captured(1);
    const QString name = line.captured(2);
    const QString tail = line.captured(3);
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
    DrawItem(painter, FieldRect(), currentIndex() >= 0 ? currentText() : QString(),
             hasFocus() && currentIndex() >= 0, hasFocus(), palette(), this);
}

void COwnerDrawCombo::ShowWholeLine(const QHelpEvent* event, const QString& text, const QRect& item,
                                    QWidget* widget) {
    const QRect textRect = TextRect(item);
    if (!text.isEmpty() && FittedText(text, widget->fontMetrics(), textRect.width()) != text) {
        QToolTip::showText(event->globalPos(), text, widget, item);
    } else {
        QToolTip::hideText();
    }
}

bool COwnerDrawCombo::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QComboBox::event(event);
    }
    ShowWholeLine(static_cast<QHelpEvent*>(event), currentIndex() >= 0 ? currentText() : QString(),
                  FieldRect(), this);
    return true;
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

bool COwnerDrawCombo::ItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                              const QStyleOptionViewItem& option,
                                              const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    ShowWholeLine(event, index.isValid() ? index.data(Qt::DisplayRole).toString() : QString(),
                  option.rect, view->viewport());
    return true;
}

QSize COwnerDrawCombo::ItemDelegate::sizeHint(const QStyleOptionViewItem&,
                                              const QModelIndex&) const {
    // No width of its own: every item is as wide as the open list, which shortens a line too
    // long for it instead of letting it run out of sight.
    return QSize(0, m_combo->ItemHeight());
}
