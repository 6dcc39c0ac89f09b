#pragma once

#include "database/models/DataObject.h"
#include "database/models/DataWater.h"
#include "database/models/Device.h"

// One row of a water archive report, laid out like CDataHeatArchive: serial and latest date in
// the CDataWater part (qualify: CDataWater::serial), the apartment number in CDataObject::no.
class CDataWaterArchive : public CDevice, public CDataObject, public CDataWater {};
