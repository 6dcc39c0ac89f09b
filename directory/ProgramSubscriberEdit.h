#pragma once

#include <functional>

#include "directory/ApartmentForm.h"

class QLabel;

// The form that edits a stored apartment, over the apartments list. The list binds its
// "Зберегти" to its own handler, which runs ButtonSendClick and then refills the list.
class TProgramSubscriberEdit : public TApartmentForm {
public:
    explicit TProgramSubscriberEdit(QWidget* parent);

    // Empty and hidden.
    void ResetForm();
    void ShowApartment(const CDataSubscriber& subscriber);
    // True when a required field failed its check.
    bool ButtonSendClick();
    void ButtonCancelClick();

    // After a save: the list shows the apartment as stored.
    std::function<void()> OnSaved;
    // After the form closed without a save: the list as it was.
    std::function<void()> OnCancelled;

    QLabel* LabelId;  // the edited apartment's aid, hidden
};
