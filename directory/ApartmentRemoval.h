#pragma once

#include <vector>

class CDataSubscriber;

// The questions, deletes and messages of removing apartments from the apartments list. An
// apartment goes with its meter bindings in one transaction, or not at all.

// Asks, asks again before unbinding bound meters, deletes and tells the outcome. True when the
// apartment was deleted.
bool RemoveApartment(const CDataSubscriber& subscriber);
// Asks once for all of them, deletes each with its bindings and shows how many went and how
// many did not. False when the operator declined.
bool RemoveApartments(const std::vector<int>& aids);
