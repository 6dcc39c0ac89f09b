#pragma once

#include <memory>

#include "Utils/FixedText.h"
#include "database/models/DataSubscriber.h"

// One meter of devices_water_cold or devices_water_hot (and the common part of a heat meter).
// It owns the apartment it is bound to, loaded with it, and through that the building.
class CDevice {
public:
    virtual ~CDevice() = default;

    std::unique_ptr<CDataSubscriber> subscriber;  // null when the meter is not bound
    int devid = 0;
    int serial = 0;
    int aid = 0;  // 0: not bound to an apartment
    CFixedText<15> date_install;
    CFixedText<15> date_initial_verification;
    int calibration_interval = 0;
};

// One meter of devices_heat.
class CDeviceHeat : public CDevice {
public:
    int position = 0;  // on the pipeline: 0 supply pipe, 1 return pipe
};
