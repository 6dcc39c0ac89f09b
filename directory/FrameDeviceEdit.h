#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

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
    // Shows a stored date in its picker (0 install, 1 initial verification); one the form
    // cannot read is marked and kept.
    void ShowStoredDate(std::size_t which, std::string_view text);
    // The operator picked a date: it replaces an unreadable stored one.
    void DateChosen(std::size_t which);
    std::array<QDateEdit*, 2> Pickers() const;
    std::array<QWidget*, 2> Marks() const;

    int kind_ = 0;
    // Stored date texts the form cannot read, install date first: kept unless a date is picked.
    std::array<std::optional<std::string>, 2> unreadable_;
};
