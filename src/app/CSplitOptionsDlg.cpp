#include "app/CSplitOptionsDlg.h"

#include "app/DialogFields.h"
#include "app/DialogUnits.h"
#include "app/WrappingRadioButton.h"
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
    text->setGeometry(dlgunits::Rect(76, y, 34, 13));
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(dlgunits::Rect(112, y, 32, 13));
    dlgfields::DigitsOnly(field);
    return field;
}

} // namespace

CSplitOptionsDlg::CSplitOptionsDlg(QWidget* parent) : QDialog(parent) {
    using dlgunits::Rect;
    // No close box: the dialog ends with OK (or the Escape key).
    dlgunits::SetUpDialog(this, QStringLiteral("Split Options"), 300, 160,
                          Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* sizes = new QGroupBox(this);
    sizes->setGeometry(Rect(7, 7, 286, 70));
    m_sizeButtons = new QButtonGroup(this);
    const std::array<QString, 5> sizeTexts = {
        QStringLiteral("32 x 32"), QStringLiteral("64 x 64"), QStringLiteral("128 x 128"),
        QStringLiteral("256 x 256"), QStringLiteral("Custom")};
    for (int i = 0; i < 5; ++i) {
        auto* button = new QRadioButton(sizeTexts[i], sizes);
        button->setGeometry(i < kCustom ? Rect(10, 12 + i * 13, 62, 10) : Rect(76, 12, 62, 10));
        m_sizeButtons->addButton(button, i);
    }
    m_widthField = AddField(sizes, QStringLiteral("Width:"), "width", 27);
    m_heightField = AddField(sizes, QStringLiteral("Height:"), "height", 44);

    auto* policies = new QGroupBox(this);
    policies->setGeometry(Rect(7, 81, 286, 52));
    m_policyButtons = new QButtonGroup(this);
    const std::array<QString, 2> policyTexts = {
        QStringLiteral("Allow pieces to be smaller than selected size."),
        QStringLiteral(
            "Make all pieces the selected size and fill unused space with magenta color.")};
    // The second text wraps over two lines.
    for (int i = 0; i < 2; ++i) {
        auto* button = new WrappingRadioButton(policyTexts[i], policies);
        button->setGeometry(i == 0 ? Rect(10, 10, 272, 11) : Rect(10, 24, 272, 22));
        m_policyButtons->addButton(button, i);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Rect(125, 139, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSplitOptionsDlg::accept);
    connect(m_sizeButtons, &QButtonGroup::idClicked, this, &CSplitOptionsDlg::OnSizeButton);
}

int CSplitOptionsDlg::exec() {
    m_widthField->setText(QString::number(m_nWidth));
    m_heightField->setText(QString::number(m_nHeight));
    if (QAbstractButton* size = m_sizeButtons->button(m_nSizeChoice)) {
        size->setChecked(true);
        // The keys start on the size chosen, so that an arrow key chooses the next one.
        size->setFocus();
    }
    if (QAbstractButton* policy = m_policyButtons->button(m_nPiecePolicy)) {
        policy->setChecked(true);
    }
    OnSizeButton();
    return QDialog::exec();
}

void CSplitOptionsDlg::OnSizeButton() {
    // The fields are read with their checks first, as OK reads them: the first one refused is
    // said, and it and the ones after it keep the values last accepted.
    if (const std::optional<int> width = dlgfields::ReadInteger(m_widthField, 1, kPageSide)) {
        m_nWidth = *width;
        if (const std::optional<int> height = dlgfields::ReadInteger(m_heightField, 1, kPageSide)) {
            m_nHeight = *height;
        }
    }
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
