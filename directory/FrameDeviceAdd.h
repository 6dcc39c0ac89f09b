#pragma once

#include <functional>

#include "directory/MeterForm.h"

// The form that stores a new meter of a chosen kind, over the meter list (or lent to the
// polling screen for a meter read by number). It keeps its type, position and typed values
// between openings.
class TFrameDeviceAdd : public TMeterForm {
public:
    explicit TFrameDeviceAdd(QWidget* parent);

    // Both dates today, the serial "00000000", the mark hidden.
    void ResetForm();
    void ComboBoxDeviceTypeChange();
    void DateTimePickerInitialVerificationChange();
    void ButtonSendClick();
    void ButtonCancelClick();

    // After a meter was stored and the form reset and hidden: the meter list afresh.
    std::function<void()> OnAdded;
};
