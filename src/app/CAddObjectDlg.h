#pragma once

#include "edits/Edits.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>

class QComboBox;
class QLineEdit;

// The small dialog that Add Object and Edit Object share: one of six object choices and an
// id. It only collects the two values; the caller decides what they mean.
class CAddObjectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddObjectDlg(QWidget* parent = nullptr);

    // Set by the caller before exec(); m_nObjectId and m_nChoice are read back after OK.
    QString m_strTitle;
    // Slot numbers are 32 bits unsigned in the file, and so here.
    std::uint32_t m_nObjectId = 0;
    int m_nChoice = -1;

    // Fills the controls from the fields, sets the title and applies the choice, then runs
    // the dialog.
    int exec() override;
    // Reads the controls back into the fields; an id that is not a whole number is refused
    // with a prompt and the dialog stays open.
    void accept() override;

    // A fixed choice shows its own id read-only; CUSTOM_OBJECTID shows m_nObjectId, editable.
    void OnSelchangeChoice();

    // The slots of the fixed choices, by index; the last choice, CUSTOM_OBJECTID, lets the
    // user type the id.
    static constexpr std::array<std::uint32_t, 5> kChoiceSlots{460, 463, 464, 470, 494};
    static constexpr int kCustomObjectIdChoice = 5;
    // The choice that stands for the slot: its fixed choice, or CUSTOM_OBJECTID.
    static int ChoiceOfSlot(std::uint32_t slotId);
    // After OK: the slot chosen, and where a new object of it goes. A 460 or 463 typed as a
    // custom id goes to the end like any other.
    std::uint32_t ChosenSlot() const;
    edits::ObjectPlacement ChosenPlacement() const;

private:
    QComboBox* m_choice = nullptr;
    QLineEdit* m_objectId = nullptr;
};
