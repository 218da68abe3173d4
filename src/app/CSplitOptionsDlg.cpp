#include "app/CSplitOptionsDlg.h"

#include "app/DialogFields.h"
#include "app/DialogUnits.h"
#include "pixels/SplitImage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace {

constexpr int kCustom = 4;
constexpr std::array<int, 4> kFixedSides = {32, 64, 128, kPageSide};

QLineEdit* AddField(QWidget* parent, const QString& label, const char* name, int y) {
    auto* text = new QLabel(label, parent);
    text->setGeometry(dlgunits::Rect(70, y + 2, 26, 9));
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(dlgunits::Rect(98, y, 32, 13));
    dlgfields::DigitsOnly(field);
    return field;
}

// The field's value when it is a whole number within a piece side's range.
std::optional<int> QuietSide(const QLineEdit* field) {
    bool ok = false;
    const int value = field->text().toInt(&ok);
    return ok && value >= 1 && value <= kPageSide ? std::optional<int>(value) : std::nullopt;
}

} // namespace

CSplitOptionsDlg::CSplitOptionsDlg(QWidget* parent) : QDialog(parent) {
    using dlgunits::Rect;
    // No close box: the dialog ends with OK (or the Escape key).
    dlgunits::SetUpDialog(this, QStringLiteral("Split Options"), 300, 150,
                          Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* sizes = new QGroupBox(this);
    sizes->setGeometry(Rect(7, 7, 286, 70));
    m_sizeButtons = new QButtonGroup(this);
    const std::array<QString, 5> sizeTexts = {
        QStringLiteral("32 x 32"), QStringLiteral("64 x 64"), QStringLiteral("128 x 128"),
        QStringLiteral("256 x 256"), QStringLiteral("Custom")};
    for (int i = 0; i < 5; ++i) {
        auto* button = new QRadioButton(sizeTexts[i], sizes);
        button->setGeometry(i < kCustom ? Rect(10, 12 + i * 13, 55, 10) : Rect(70, 12, 55, 10));
        m_sizeButtons->addButton(button, i);
    }
    m_widthField = AddField(sizes, QStringLiteral("Width:"), "width", 27);
    m_heightField = AddField(sizes, QStringLiteral("Height:"), "height", 44);

    auto* policies = new QGroupBox(this);
    policies->setGeometry(Rect(7, 81, 286, 42));
    m_policyButtons = new QButtonGroup(this);
    const std::array<QString, 2> policyTexts = {
        QStringLiteral("Allow pieces to be smaller than selected size."),
        QStringLiteral(
            "Make all pieces the selected size and fill unused space with magenta color.")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(policyTexts[i], policies);
        button->setGeometry(Rect(10, 12 + i * 14, 272, 10));
        m_policyButtons->addButton(button, i);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Rect(125, 129, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSplitOptionsDlg::accept);
    connect(m_sizeButtons, &QButtonGroup::idClicked, this, &CSplitOptionsDlg::OnSizeButton);
}

int CSplitOptionsDlg::exec() {
    m_widthField->setText(QString::number(m_nWidth));
    m_heightField->setText(QString::number(m_nHeight));
    if (QAbstractButton* size = m_sizeButtons->button(m_nSizeChoice)) {
        size->setChecked(true);
    }
    if (QAbstractButton* policy = m_policyButtons->button(m_nPiecePolicy)) {
        policy->setChecked(true);
    }
    OnSizeButton();
    return QDialog::exec();
}

void CSplitOptionsDlg::OnSizeButton() {
    m_nWidth = QuietSide(m_widthField).value_or(m_nWidth);
    m_nHeight = QuietSide(m_heightField).value_or(m_nHeight);
    m_nSizeChoice = m_sizeButtons->checkedId();
    const bool custom = m_nSizeChoice == kCustom;
    m_widthField->setReadOnly(!custom);
    m_heightField->setReadOnly(!custom);
    if (!custom && m_nSizeChoice >= 0) {
        m_nWidth = kFixedSides[static_cast<std::size_t>(m_nSizeChoice)];
        m_nHeight = m_nWidth;
        m_widthField->setText(QString::number(m_nWidth));
        m_heightField->setText(QString::number(m_nHeight));
    }
}

void CSplitOptionsDlg::accept() {
    const std::optional<int> width = dlgfields::ReadInteger(m_widthField, 1, kPageSide);
    if (!width) {
        return;
    }
    const std::optional<int> height = dlgfields::ReadInteger(m_heightField, 1, kPageSide);
    if (!height) {
        return;
    }
    m_nWidth = *width;
    m_nHeight = *height;
    m_nSizeChoice = m_sizeButtons->checkedId();
    m_nPiecePolicy = m_policyButtons->checkedId();
    QDialog::accept();
}

void CSplitOptionsDlg::reject() {
    m_nSizeChoice = m_sizeButtons->checkedId();
    m_nPiecePolicy = m_policyButtons->checkedId();
    QDialog::reject();
}
