// Every dialog shows its own texts, and every label, check box and radio button its whole text,
// with the font the dialogs get and with that font 20% larger, as a desktop theme's wider font
// would be.
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
    for (const QWidget* control : dialog->findChildren<QWidget*>()) {
        // A control never given its place, or given only part of it, stays at an edge of the
        // dialog or of its group; the parts a control is made of are its own business.
        const QWidget* parent = control->parentWidget();
        const bool part = parent != dialog && !parent->inherits("QGroupBox") &&
                          parent->metaObject() != &QFrame::staticMetaObject;
        if (!control->isWindow() && !part && (control->x() <= 0 || control->y() <= 0)) {
            cut.append(QStringLiteral("a %1 is unplaced").arg(control->metaObject()->className()));
        }
    }
    return cut.join(u'\n').toStdString();
}

// Every text the dialog shows, its title first, in the order its controls were made; of a
// list, its first three lines.
std::string Texts(const QWidget* dialog) {
    QStringList texts{dialog->windowTitle()};
    for (const QWidget* control : dialog->findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            texts << button->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
            texts << group->title();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
            for (int i = 0; i < std::min(combo->count(), 3); ++i) {
                texts << combo->itemText(i);
            }
        }
    }
    texts.removeAll(QString());
    return texts.join(u'|').toStdString();
}

// Checks the texts of the dialog that `open` runs, while it is on screen, then closes it.
void CheckShown(const char* name, double scale, const std::string& texts,
                const std::function<void()>& open) {
    SCOPED_TRACE(name);
    WhenModal<QDialog>([scale, texts](QDialog* dialog) {
        EXPECT_EQ(Texts(dialog), texts);
        QFont font = dialog->font();
        font.setPointSizeF(QFontInfo(font).pointSizeF() * scale);
        dialog->setFont(font);
        EXPECT_EQ(CutTexts(dialog), "");
        dialog->reject();
    });
    open();
}

class DialogTextFit : public ::testing::TestWithParam<double> {};

TEST_P(DialogTextFit, EveryTextIsItsOwnAndFitsItsControl) {
    const double scale = GetParam();
    {
        SCOPED_TRACE("main window");
        CMainDlg window;
        QFont font = window.font();
        font.setPointSizeF(QFontInfo(font).pointSizeF() * scale);
        window.setFont(font);
        EXPECT_EQ(CutTexts(&window), "");
    }
    const std::string objectTexts =
        "|Object:|SKY_GRAPHICS|DEFAULT_SPRITES|MISC_SPRITES|Object ID:|OK|Cancel";
    const std::string resizeTexts =
        "New Size:|Width:|Height:|Preserve aspect ratio|Resize Filter:|Stretch|Bilinear|";
    CheckShown(
        "About", scale,
        "About Vornix|Vornix Version 1.03|Sprite wad editor|"
        "This Program Is For To Edit The Sprites Stored In SWD Files Used With Tomb Raider Level "
        "Editors|Vornix developers|07/08/2014 - 08/02/2014\tv1.00\n08/03/2014 - 08/08/2014\tv1.01\n"
        "08/08/2014 - 08/09/2014\tv1.02\n08/21/2014 - 08/30/2014\tv1.03|OK",
        [] { CAboutDlg(nullptr).exec(); });
    CheckShown("Add Object", scale, "Add Object" + objectTexts,
               [] { CAddObjectDlg(nullptr).exec(); });
    CheckShown("Edit Object", scale, "Edit Object" + objectTexts, [] {
        CAddObjectDlg dialog(nullptr);
        dialog.m_strTitle = QStringLiteral("Edit Object");
        dialog.m_nChoice = 8;
        dialog.exec();
    });
    CheckShown("JPEG", scale, "JPEG Compression Options...|Quality Factor:|%|Low:|High:|OK",
               [] { CJpegOptionsDlg(nullptr).exec(); });
    CheckShown("TGA", scale, "Options|Enable RLE Compression|OK",
               [] { CTgaOptionsDlg(nullptr).exec(); });
    CheckShown("Resize", scale,
               "Resize Image|Current size:\t256  x  256  Pixels|New size:\t256  x  256  Pixels|" +
                   resizeTexts + "OK|Cancel",
               [] {
                   CResizeDlg dialog(nullptr);
                   dialog.m_nWidth = 256;
                   dialog.m_nHeight = 256;
                   dialog.exec();
               });
    CheckShown("Resize Range", scale,
               "Resize Image Range|" + resizeTexts + "Range|Start:|Stop:|OK|Cancel",
               [] { CResizeRangeDlg(nullptr).exec(); });
    CheckShown("Split Options", scale,
               "Split Options|32 x 32|64 x 64|128 x 128|256 x 256|Custom|Width:|Height:|"
               "Allow pieces to be smaller than selected size.|"
               "Make all pieces the selected size and fill unused space with magenta color.|OK",
               [] { CSplitOptionsDlg(nullptr).exec(); });
}

INSTANTIATE_TEST_SUITE_P(DefaultAndLarger, DialogTextFit, ::testing::Values(1.0, 1.2));

} // namespace
