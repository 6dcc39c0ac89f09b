#pragma once

class CSQLite3Controller;

// Unbinds the meters of every kind from the apartment and deletes it, in one transaction: the
// apartment and its bindings go together or not at all. False when anything failed, a
// transaction was already open included; nothing has changed then.
bool DeleteSubscriberWithDevices(CSQLite3Controller& controller, int aid);
