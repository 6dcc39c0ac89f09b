#pragma once

#include <functional>

#include "directory/BuildingForm.h"

// The form that adds a building, over the buildings list. It keeps its texts when cancelled.
class TFrameObjectAdd : public TBuildingForm {
public:
    explicit TFrameObjectAdd(QWidget* parent);

    void ButtonSendClick();
    void ButtonCancelClick();

    // After a building was stored and the form closed: the lists show it.
    std::function<void()> OnAdded;
    // After the form closed without storing.
    std::function<void()> OnCancelled;
};
