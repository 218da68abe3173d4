#include "app/CAboutDlg.h"

#include "VornixVersion.h"
#include "app/AppResources.h"
#include "app/DialogUnits.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& rect) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    return label;
}

QFrame* AddBlackFrame(QWidget* parent, const QRect& rect) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    frame->setGeometry(rect);
    return frame;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent, QString address)
    : QDialog(parent), m_address(std::move(address)) {
    using dlgunits::Rect;
    dlgunits::SetUpDialog(this, QStringLiteral("About Vornix"), 192, 187);

    AddBlackFrame(this, Rect(5, 5, 180, 35));
    auto* icon = new QLabel(this);
    icon->setPixmap(appres::AppIcon().pixmap(32, 32));
    icon->setGeometry(dlgunits::X(15), dlgunits::Y(15), 32, 32);
    AddLabel(this, QStringLiteral("Vornix Version ") + QLatin1String(kVornixVersion),
             Rect(40, 13, 125, 11));
    AddLabel(this, QStringLiteral("Sprite wad editor"), Rect(40, 25, 130, 11));

    AddBlackFrame(this, Rect(5, 40, 180, 120));
    QLabel* purpose = AddLabel(this,
                               QStringLiteral("This Program Is For To Edit The Sprites Stored In "
                                              "SWD Files Used With Tomb Raider Level Editors"),
                               Rect(15, 48, 160, 33));
    purpose->setWordWrap(true);
    AddLabel(this, QStringLiteral("Vornix developers"), Rect(15, 85, 82, 11));

    m_addressField = new QLineEdit(this);
    m_addressField->setReadOnly(true);
    m_addressField->setFrame(false);
    QPalette fieldPalette = m_addressField->palette();
    fieldPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    m_addressField->setPalette(fieldPalette);
    m_addressField->setGeometry(Rect(99, 85, 80, 11));
    m_addressField->setText(m_address);
    // Left empty, the field would hold the focus unseen; the keys then start on OK.
    if (m_address.isEmpty()) {
        m_addressField->setFocusPolicy(Qt::NoFocus);
    }

    AddLabel(this,
             QStringLiteral("07/08/2014 - 08/02/2014\tv1.00\n08/03/2014 - 08/08/2014\tv1.01\n"
                            "08/08/2014 - 08/09/2014\tv1.02\n08/21/2014 - 08/30/2014\tv1.03"),
             Rect(15, 104, 165, 50));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Rect(70, 166, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
