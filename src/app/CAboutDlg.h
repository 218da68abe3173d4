#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// The modal About box: name and version, what the program is for, the author, a contact
// address that can be selected and copied, and the version history.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr, QString address = QString());

private:
    QString m_address;
    QLineEdit* m_addressField = nullptr;
};
