#pragma once

#include "directory/BuildingForm.h"

class CDataObject;
class QLabel;

// The form that edits a stored building, over the buildings list. The list binds its buttons
// to its own handlers, which run these and then reload the list.
class TFrameObjectEdit : public TBuildingForm {
public:
    explicit TFrameObjectEdit(QWidget* parent);

    void ResetForm();
    void ShowBuilding(const CDataObject& object);
    // True when a field failed its check; the save was then not offered.
    bool ButtonSendClick();
    void ButtonCancelClick() { hide(); }

    QLabel* LabelBid;  // the edited building's bid, hidden
};
