#include "app/CAddObjectDlg.h"

#include "app/DialogFields.h"
#include "app/DialogUnits.h"
#include "document/ObjectSlotNames.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

CAddObjectDlg::CAddObjectDlg(QWidget* parent)
    : QDialog(parent), m_strTitle(QStringLiteral("Add Object")) {
    using dlgunits::Rect;
    dlgunits::SetUpDialog(this, QStringLiteral("Add Object"), 186, 68);

    (new QLabel(QStringLiteral("Object:"), this))->setGeometry(Rect(7, 7, 47, 14));
    m_choice = new QComboBox(this);
    m_choice->setObjectName(QStringLiteral("choice"));
    m_choice->setGeometry(Rect(56, 7, 123, 14));
    for (const std::uint32_t slot : kChoiceSlots) {
        m_choice->addItem(QString::fromStdString(LookupSlotName(slot)));
    }
    m_choice->addItem(QStringLiteral("CUSTOM_OBJECTID"));
    connect(m_choice, &QComboBox::currentIndexChanged, this, &CAddObjectDlg::OnSelchangeChoice);

    (new QLabel(QStringLiteral("Object ID:"), this))->setGeometry(Rect(7, 25, 47, 14));
    m_objectId = new QLineEdit(this);
    m_objectId->setObjectName(QStringLiteral("objectId"));
    m_objectId->setGeometry(Rect(56, 25, 123, 14));
    dlgfields::DigitsOnly(m_objectId);
    m_objectId->setReadOnly(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Rect(75, 47, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(Rect(129, 47, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CAddObjectDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CAddObjectDlg::reject);
}

int CAddObjectDlg::exec() {
    m_objectId->setText(QString::number(m_nObjectId));
    // Setting the selection here would run OnSelchangeChoice early; it runs once, below.
    {
        const QSignalBlocker quiet(m_choice);
        m_choice->setCurrentIndex(m_nChoice);
    }
    setWindowTitle(m_strTitle);
    OnSelchangeChoice();
    return QDialog::exec();
}

void CAddObjectDlg::accept() {
    bool whole = false;
    const std::uint32_t id = m_objectId->text().toUInt(&whole);
    if (!whole) {
        dlgfields::RefuseField(m_objectId, QStringLiteral("Please enter an integer."),
                               QMessageBox::Warning);
        return;
    }
    m_nObjectId = id;
    m_nChoice = m_choice->currentIndex();
    QDialog::accept();
}

void CAddObjectDlg::OnSelchangeChoice() {
    const int choice = m_choice->currentIndex();
    if (choice < 0) {
        return;
    }
    const bool custom = choice == kCustomObjectIdChoice;
    // A fixed choice shows its own id; the custom choice brings back the id last kept.
    m_objectId->setText(
        QString::number(custom ? m_nObjectId : kChoiceSlots[static_cast<std::size_t>(choice)]));
    m_objectId->setReadOnly(!custom);
}

int CAddObjectDlg::ChoiceOfSlot(std::uint32_t slotId) {
    const auto fixed = std::find(kChoiceSlots.begin(), kChoiceSlots.end(), slotId);
    return fixed != kChoiceSlots.end() ? static_cast<int>(fixed - kChoiceSlots.begin())
                                       : kCustomObjectIdChoice;
}

std::uint32_t CAddObjectDlg::ChosenSlot() const {
    return m_nChoice >= 0 && m_nChoice < kCustomObjectIdChoice
               ? kChoiceSlots[static_cast<std::size_t>(m_nChoice)]
               : m_nObjectId;
}

edits::ObjectPlacement CAddObjectDlg::ChosenPlacement() const {
    return m_nChoice == kCustomObjectIdChoice ? edits::ObjectPlacement::AtEnd
                                              : edits::ObjectPlacement::BySlot;
}
