#pragma once

#include <memory>
#include <string>

#include "database/models/DataHeat.h"
#include "database/models/DataWater.h"
#include "serial/DataPackage.h"

class CReplyFields;

// Decodes one received reply into a heat or water reading of formatted texts.
class CTelegram {
public:
    // Keeps a reference to the package, which must outlive the telegram; decodes nothing yet.
    explicit CTelegram(const CDataPackage& package);
    virtual ~CTelegram();

    // The frame check code (TelegramOk = 4 when the frame is sound, whatever its preamble).
    // With 4 and a known type code whose fields the data covers, the matching reading has been
    // made, unless a field is not what it must be (see Fault). A reply too short for its type
    // makes none, since nothing is read beyond the frame.
    int Decode();
    // Why a sound frame of a known type made no reading: the first field that is not a number
    // (or not a date and time), e.g. "t1 (2A 50) is not a number". Empty otherwise.
    const std::string& Fault() const { return fault_; }
    // 32 or 16 for a decoded reading, -1 otherwise.
    int MeterCode() const { return meterCode_; }

    // The reading made by Decode, or null; the telegram keeps it until it is taken.
    const CDataHeat* HeatData() const { return heat_.get(); }
    const CDataWater* WaterData() const { return water_.get(); }
    std::unique_ptr<CDataHeat> TakeHeatData() { return std::move(heat_); }
    std::unique_ptr<CDataWater> TakeWaterData() { return std::move(water_); }

private:
    void DecodeHeat(CReplyFields& fields);
    void DecodeWater(CReplyFields& fields);

    const CDataPackage& package_;
    int meterCode_ = -1;
    std::unique_ptr<CDataHeat> heat_;
    std::unique_ptr<CDataWater> water_;
    std::string fault_;
};
