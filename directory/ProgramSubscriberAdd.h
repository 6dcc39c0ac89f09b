#pragma once

#include <functional>

#include "directory/ApartmentForm.h"

// The form that adds an apartment, over the apartments list; cleared each time it opens.
class TProgramSubscriberAdd : public TApartmentForm {
public:
    explicit TProgramSubscriberAdd(QWidget* parent);

    // Also rebuilds the building choice, so a building added just now is offered.
    void ResetForm();
    void ButtonSendClick();
    void ButtonCancelClick();

    // After an apartment was stored and the form closed.
    std::function<void()> OnAdded;
    // After the form closed without storing.
    std::function<void()> OnCancelled;
};
