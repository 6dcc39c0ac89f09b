#include "database/SQLite3Controller.h"

CSQLite3Controller::CSQLite3Controller(const char* path, std::chrono::milliseconds busyTimeout)
    : Database(path, busyTimeout),
      DeviceHeatModel(*this),
      DeviceWaterColdModel(*this),
      DeviceWaterHotModel(*this),
      ObjectModel(*this),
      SubscriberModel(*this),
      MeteringModel(*this) {
    Database.Open();
}

CSQLite3Controller::~CSQLite3Controller() {
    Database.Close();
}
