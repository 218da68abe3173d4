#include "app/CTgaOptionsDlg.h"

#include "app/DialogUnits.h"

#include <QCheckBox>
#include <QPushButton>

CTgaOptionsDlg::CTgaOptionsDlg(QWidget* parent) : QDialog(parent) {
    using dlgunits::Rect;
    dlgunits::SetUpDialog(this, QStringLiteral("Options"), 150, 48);

    m_rleBox = new QCheckBox(QStringLiteral("Enable RLE Compression"), this);
    m_rleBox->setGeometry(Rect(10, 8, 130, 11));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(Rect(50, 27, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CTgaOptionsDlg::accept);
}

int CTgaOptionsDlg::exec() {
    m_rleBox->setChecked(m_enableRle != 0);
    return QDialog::exec();
}

void CTgaOptionsDlg::accept() {
    m_enableRle = m_rleBox->isChecked() ? 1 : 0;
    QDialog::accept();
}
