#include "meter/Telegram.h"

#include <charconv>
#include <string>
#include <string_view>

#include "Utils/Decimal.h"
#include "Utils/Format.h"
#include "meter/MeterCodes.h"
#include "meter/ReplyFields.h"
#include "serial/Frame.h"

namespace {
constexpr std::size_t kTypeIndex = 4;
// The last data byte each reading reads.
constexpr std::size_t kHeatLastIndex = 57;
constexpr std::size_t kWaterLastIndex = 43;

// The whole number a text of decimal digits makes.
int WholeNumber(std::string_view digits) {
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// The serial number: A3 A2 A1 A0 as eight decimal digits.
int SerialOf(CReplyFields& fields) {
    return WholeNumber(fields.Digits("serial", {8, 7, 6, 5}));
}

// Digits with the point after the first `whole` of them.
std::string WithPoint(const std::string& digits, std::size_t whole) {
    return digits.substr(0, whole) + "." + digits.substr(whole);
}

// The two digits of a byte as "%01X" prints it: one when the byte is below 10.
std::string ShortPair(const std::string& digits, std::size_t at) {
    return digits[at] == '0' ? digits.substr(at + 1, 1) : digits.substr(at, 2);
}

// A water volume from four bytes, lowest first: four digits, the point, the second byte with
// one digit when it is below 10, then the lowest byte.
std::string WaterVolume(CReplyFields& fields, const char* field, std::size_t lowest) {
    const std::string digits = fields.Digits(field, {lowest + 3, lowest + 2, lowest + 1, lowest});
    return digits.substr(0, 4) + "." + ShortPair(digits, 4) + digits.substr(6);
}
}  // namespace

CTelegram::CTelegram(const CDataPackage& package) : package_(package) {}

CTelegram::~CTelegram() = default;

int CTelegram::Decode() {
    meterCode_ = -1;
    heat_.reset();
    water_.reset();
    fault_.clear();
    const std::optional<CFrameSpan> frame = ReceivedFrame(package_);
    if (!frame) return CheckFrame(package_);
    CReplyFields fields(package_, *frame);
    const int type = fields.At(kTypeIndex);
    if (type == MeterCodeHeat && fields.LastDataIndex() >= kHeatLastIndex) DecodeHeat(fields);
    if (type == MeterCodeWater && fields.LastDataIndex() >= kWaterLastIndex) DecodeWater(fields);
    return TelegramOk;
}

void CTelegram::DecodeHeat(CReplyFields& fields) {
    auto heat = std::make_unique<CDataHeat>();
    heat->meter_code = MeterCodeHeat;
    heat->serial = SerialOf(fields);
    heat->q_cooling = WithPoint(fields.Digits("q_cooling", {21, 20, 19, 18}), 6);
    heat->q = WithPoint(fields.Digits("q", {26, 25, 24, 23}), 6);
    heat->v = WithPoint(fields.Digits("v", {41, 40, 39, 38}), 4);
    heat->t1 = WithPoint(fields.Digits("t1", {43, 44}), 2);
    heat->t2 = WithPoint(fields.Digits("t2", {46, 47}), 2);
    heat->dt = Format("%.2f", ParseDecimal(heat->t2.view()) - ParseDecimal(heat->t1.view()));
    heat->running_time_hour = WholeNumber(fields.Digits("running_time_hour", {48, 49, 50}));
    // Byte 51, the seconds, is not read.
    heat->date = fields.Clock("date", 57, 56, 55, 54, 53, 52);
    fault_ = fields.Fault();
    if (!fault_.empty()) return;
    meterCode_ = MeterCodeHeat;
    heat_ = std::move(heat);
}

void CTelegram::DecodeWater(CReplyFields& fields) {
    auto water = std::make_unique<CDataWater>();
    water->meter_code = MeterCodeWater;
    water->serial = SerialOf(fields);
    water->v = WaterVolume(fields, "v", 17);
    water->v_flow = WaterVolume(fields, "v_flow", 22);
    water->date = fields.Clock("date", 33, 32, 31, 30, 29, 28, 27);
    const std::string battery = fields.Digits("bat", {37, 36});
    water->bat = ShortPair(battery, 0) + "." + battery.substr(2);
    // A plain 16-bit binary counter, high byte last.
    water->running_time_minute = fields.At(39) << 8 | fields.At(38);
    water->v_reverse = WaterVolume(fields, "v_reverse", 40);
    fault_ = fields.Fault();
    if (!fault_.empty()) return;
    meterCode_ = MeterCodeWater;
    water_ = std::move(water);
}
