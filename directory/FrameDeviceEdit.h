#pragma once

#include "directory/MeterForm.h"

// The form that changes a stored meter's serial, dates and pipe position; its binding stays.
class TFrameDeviceEdit : public TMeterForm {
public:
    explicit TFrameDeviceEdit(QWidget* parent);

    // The mark hidden, the install date today, the hidden ids emptied.
    void ResetForm();
    void ShowMeter(const CDevice& device, int kind);
    void DateTimePickerInitialVerificationChange();
    // True when the serial failed its check; otherwise the update ran and was reported.
    bool ButtonSendClick();
    void ButtonCancelClick();

    QLabel* LabelDeviceID;
    QLabel* LabelAid;

private:
    int kind_ = 0;
};
