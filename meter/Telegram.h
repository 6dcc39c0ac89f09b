#pragma once

#include <memory>

#include "database/models/DataHeat.h"
#include "database/models/DataWater.h"
#include "serial/DataPackage.h"

// Decodes one received reply into a heat or water reading of formatted texts.
class CTelegram {
public:
    // Keeps a reference to the package, which must outlive the telegram; decodes nothing yet.
    explicit CTelegram(const CDataPackage& package);
    virtual ~CTelegram();

    // The frame check code (TelegramOk = 4 when the frame is sound). With 4 and a known type
    // code whose fields the data covers, the matching reading has been made; a reply too short
    // for its type makes none, since nothing is read beyond the package.
    int Decode();
    // 32 or 16 for a decoded reading, -1 otherwise.
    int MeterCode() const { return meterCode_; }

    // The reading made by Decode, or null; the telegram keeps it until it is taken.
    const CDataHeat* HeatData() const { return heat_.get(); }
    const CDataWater* WaterData() const { return water_.get(); }
    std::unique_ptr<CDataHeat> TakeHeatData() { return std::move(heat_); }
    std::unique_ptr<CDataWater> TakeWaterData() { return std::move(water_); }

private:
    void DecodeHeat();
    void DecodeWater();

    const CDataPackage& package_;
    int meterCode_ = -1;
    std::unique_ptr<CDataHeat> heat_;
    std::unique_ptr<CDataWater> water_;
};
