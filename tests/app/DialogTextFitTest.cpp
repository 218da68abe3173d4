// Every label, check box and radio button of every dialog shows its whole text, with the font
// the dialogs get and with that font 20% larger, as a desktop theme's wider font would be.
#include "WindowTest.h"
#include "app/CAboutDlg.h"
#include "app/CAddObjectDlg.h"
#include "app/CJpegOptionsDlg.h"
#include "app/CResizeDlg.h"
#include "app/CResizeRangeDlg.h"
#include "app/CSplitOptionsDlg.h"
#include "app/CTgaOptionsDlg.h"
#include "app/WrappingRadioButton.h"

namespace {

using namespace apptest;

// The rectangle a button's text is drawn in: the button less its indicator.
QRect ButtonTextRect(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    return button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
}

// What does not fit among the texts of `dialog`, and the controls it left unplaced, one line per
// control; empty when all fit.
std::string CutTexts(const QWidget* dialog) {
    QStringList cut;
    const auto check = [&cut](const QWidget* control, const QString& text, QRect room, int flags) {
        if (text.isEmpty()) {
            return;
        }
        const QRect needed = control->fontMetrics().boundingRect(room, flags, text);
        if (needed.width() > room.width() || needed.height() > room.height()) {
            cut.append(QStringLiteral("\"%1\" needs %2 x %3 in %4 x %5")
                           .arg(text)
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height()));
        }
    };
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        // As a label draws plain text: its line breaks kept, tabs expanded.
        const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
        check(label, label->text(), label->contentsRect(),
              static_cast<int>(label->alignment()) | wrap | Qt::TextExpandTabs);
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (qobject_cast<const QCheckBox*>(button) == nullptr &&
            qobject_cast<const QRadioButton*>(button) == nullptr) {
            continue;
        }
        const auto* wrapping = qobject_cast<const WrappingRadioButton*>(button);
        const int wrap = wrapping != nullptr ? Qt::TextWordWrap : 0;
        check(button, button->text(), ButtonTextRect(button),
              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | wrap);
    }
    for (const QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // A control never given its place, or given only part of it, stays at an edge.
        if (!control->isWindow() && (control->x() <= 0 || control->y() <= 0)) {
            cut.append(QStringLiteral("a %1 is unplaced").arg(control->metaObject()->className()));
        }
    }
    return cut.join(u'\n').toStdString();
}

// Checks the texts of the dialog that `open` runs, while it is on screen, then closes it.
void CheckShown(const char* name, double scale, const std::function<void()>& open) {
    SCOPED_TRACE(name);
    WhenModal<QDialog>([scale](QDialog* dialog) {
        QFont font = dialog->font();
        font.setPointSizeF(QFontInfo(font).pointSizeF() * scale);
        dialog->setFont(font);
        EXPECT_EQ(CutTexts(dialog), "");
        dialog->reject();
    });
    open();
}

class DialogTextFit : public ::testing::TestWithParam<double> {};

TEST_P(DialogTextFit, EveryTextFitsItsControl) {
    const double scale = GetParam();
    {
        SCOPED_TRACE("main window");
        CMainDlg window;
        QFont font = window.font();
        font.setPointSizeF(QFontInfo(font).pointSizeF() * scale);
        window.setFont(font);
        EXPECT_EQ(CutTexts(&window), "");
    }
    CheckShown("About", scale, [] { CAboutDlg(nullptr).exec(); });
    CheckShown("Add Object", scale, [] { CAddObjectDlg(nullptr).exec(); });
    CheckShown("Edit Object", scale, [] {
        CAddObjectDlg dialog(nullptr);
        dialog.m_strTitle = QStringLiteral("Edit Object");
        dialog.m_nChoice = 8;
        dialog.exec();
    });
    CheckShown("JPEG", scale, [] { CJpegOptionsDlg(nullptr).exec(); });
    CheckShown("TGA", scale, [] { CTgaOptionsDlg(nullptr).exec(); });
    CheckShown("Resize", scale, [] {
        CResizeDlg dialog(nullptr);
        dialog.m_nWidth = 256;
        dialog.m_nHeight = 256;
        dialog.exec();
    });
    CheckShown("Resize Range", scale, [] { CResizeRangeDlg(nullptr).exec(); });
    CheckShown("Split Options", scale, [] { CSplitOptionsDlg(nullptr).exec(); });
}

INSTANTIATE_TEST_SUITE_P(DefaultAndLarger, DialogTextFit, ::testing::Values(1.0, 1.2));

} // namespace
