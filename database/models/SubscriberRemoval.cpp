#include "database/models/SubscriberRemoval.h"

#include "database/SQLite3Controller.h"

bool DeleteSubscriberWithDevices(CSQLite3Controller& controller, int aid) {
    CSQLite3& database = controller.Database;
    if (!database.BeginTransaction()) return false;
    const bool done = controller.DeviceHeatModel.UnbindDevices(aid) &&
                      controller.DeviceWaterColdModel.UnbindDevices(aid) &&
                      controller.DeviceWaterHotModel.UnbindDevices(aid) &&
                      controller.SubscriberModel.DeleteSubscriber(aid);
    if (done && database.CommitTransaction()) return true;
    database.RollbackTransaction();
    return false;
}
