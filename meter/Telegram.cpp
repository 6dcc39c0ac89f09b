#include "meter/Telegram.h"

#include <charconv>
#include <string>
#include <string_view>

#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "meter/MeterCodes.h"
#include "serial/Frame.h"

namespace {
constexpr std::size_t kTypeIndex = 4;
constexpr std::size_t kSerialIndex = 5;
// The last data byte each reading reads.
constexpr std::size_t kHeatLastIndex = 57;
constexpr std::size_t kWaterLastIndex = 43;

// The whole number the text starts with, as a C reading of it would give: BCD bytes that
// are not BCD print as letters, and the number stops there.
int LeadingDecimal(std::string_view text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}
}  // namespace

CTelegram::CTelegram(const CDataPackage& package) : package_(package) {}

CTelegram::~CTelegram() = default;

int CTelegram::Decode() {
    meterCode_ = -1;
    heat_.reset();
    water_.reset();
    const TelegramCheck check = CheckFrame(package_);
    if (check != TelegramOk) return check;
    // A sound frame ends with checksum, end and its repeat after the data.
    const std::size_t lastData = package_.Size() - 4;
    const int type = package_.At(kTypeIndex);
    if (type == MeterCodeHeat && lastData >= kHeatLastIndex) DecodeHeat();
    if (type == MeterCodeWater && lastData >= kWaterLastIndex) DecodeWater();
    return TelegramOk;
}

namespace {
int SerialOf(const CDataPackage& p) {
    const unsigned address = p.At(kSerialIndex) | p.At(kSerialIndex + 1) << 8 |
                             p.At(kSerialIndex + 2) << 16 |
                             static_cast<unsigned>(p.At(kSerialIndex + 3)) << 24;
    return LeadingDecimal(Format("%08X", address));
}

// A water volume from four bytes, lowest first: four digits, the point, the second byte with
// one digit when it is below 10, then the lowest byte.
std::string WaterVolume(const CDataPackage& p, std::size_t lowest) {
    return Format("%02X%02X.%01X%02X", p.At(lowest + 3), p.At(lowest + 2), p.At(lowest + 1),
                  p.At(lowest));
}
}  // namespace

void CTelegram::DecodeHeat() {
    const CDataPackage& p = package_;
    auto heat = std::make_unique<CDataHeat>();
    heat->meter_code = MeterCodeHeat;
    heat->serial = SerialOf(p);
    heat->q_cooling = Format("%02X%02X%02X.%02X", p.At(21), p.At(20), p.At(19), p.At(18));
    heat->q = Format("%02X%02X%02X.%02X", p.At(26), p.At(25), p.At(24), p.At(23));
    heat->v = Format("%02X%02X.%02X%02X", p.At(41), p.At(40), p.At(39), p.At(38));
    heat->t1 = Format("%02X.%02X", p.At(43), p.At(44));
    heat->t2 = Format("%02X.%02X", p.At(46), p.At(47));
    heat->dt = Format("%.2f", ParseDecimal(heat->t2.view()) - ParseDecimal(heat->t1.view()));
    heat->running_time_hour = LeadingDecimal(Format("%02X%02X%02X", p.At(48), p.At(49), p.At(50)));
    heat->date = Format("%02X%02X-%02X-%02X %02X:%02X", p.At(57), p.At(56), p.At(55), p.At(54),
                        p.At(53), p.At(52));
    meterCode_ = MeterCodeHeat;
    heat_ = std::move(heat);
}

void CTelegram::DecodeWater() {
    const CDataPackage& p = package_;
    auto water = std::make_unique<CDataWater>();
    water->meter_code = MeterCodeWater;
    water->serial = SerialOf(p);
    water->v = WaterVolume(p, 17);
    water->v_flow = WaterVolume(p, 22);
    water->date = Format("%02X%02X-%02X-%02X %02X:%02X:%02X", p.At(33), p.At(32), p.At(31),
                         p.At(30), p.At(29), p.At(28), p.At(27));
    water->bat = Format("%01X.%02X", p.At(37), p.At(36));
    // A plain 16-bit binary counter, high byte last.
    water->running_time_minute = p.At(39) << 8 | p.At(38);
    water->v_reverse = WaterVolume(p, 40);
    meterCode_ = MeterCodeWater;
    water_ = std::move(water);
}
