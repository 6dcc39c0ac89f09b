#pragma once

#include "database/SQLite3.h"
#include "database/models/DeviceHeatModel.h"
#include "database/models/DeviceWaterModel.h"
#include "database/models/MeteringModel.h"
#include "database/models/ObjectModel.h"
#include "database/models/SubscriberModel.h"

// Owner of the one connection and the table models that the screens and threads call. The
// models reach the connection and each other through the controller they belong to.
class CSQLite3Controller {
public:
    explicit CSQLite3Controller(
        const char* path, std::chrono::milliseconds busyTimeout = CSQLite3::kDefaultBusyTimeout);
    ~CSQLite3Controller();
    CSQLite3Controller(const CSQLite3Controller&) = delete;
    CSQLite3Controller& operator=(const CSQLite3Controller&) = delete;

    CSQLite3 Database;
    CDeviceHeatModel DeviceHeatModel;
    CDeviceWaterColdModel DeviceWaterColdModel;
    CDeviceWaterHotModel DeviceWaterHotModel;
    CObjectModel ObjectModel;
    CSubscriberModel SubscriberModel;
    CMeteringModel MeteringModel;
};
