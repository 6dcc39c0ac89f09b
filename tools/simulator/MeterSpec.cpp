#include "tools/simulator/MeterSpec.h"

#include <charconv>
#include <cstdio>

namespace {
constexpr unsigned kLargestSerial = 99999999;
constexpr unsigned kLongestRun = 1000;  // of preamble or noise bytes before a frame

bool ParseNumber(std::string_view text, unsigned& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool IsDecimal(std::string_view text) {
    bool digits = false, point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
        } else {
            return false;
        }
    }
    return digits;
}

bool ParseClock(std::string_view text, CSimClock& clock) {
    if (text == "now") {
        clock = CSimClock{};
        return true;
    }
    const std::string copy(text);
    CSimClock fixed;
    fixed.now = false;
    int used = 0;
    const bool withMinutes = std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d%n", &fixed.year,
                                         &fixed.month, &fixed.day, &fixed.hour, &fixed.minute,
                                         &used) == 5;
    if (!withMinutes) return false;
    if (copy[used] == ':') {
        int secondsUsed = 0;
        if (std::sscanf(copy.c_str() + used, ":%2d%n", &fixed.second, &secondsUsed) != 1) {
            return false;
        }
        used += secondsUsed;
    }
    if (static_cast<std::size_t>(used) != copy.size()) return false;
    clock = fixed;
    return fixed.month >= 1 && fixed.month <= 12 && fixed.day >= 1 && fixed.day <= 31 &&
           fixed.hour <= 23 && fixed.minute <= 59 && fixed.second <= 59;
}

// endless=HH (a hexadecimal byte repeated), endless=noise or endless=reply.
bool ParseEndless(std::string_view text, CSimMeter& meter) {
    if (text == "noise" || text == "reply") {
        meter.endless = text == "noise" ? SimEndless::Noise : SimEndless::Reply;
        return true;
    }
    unsigned byte = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, byte, 16);
    if (text.size() != 2 || result.ec != std::errc() || result.ptr != end) return false;
    meter.endless = SimEndless::Byte;
    meter.endlessByte = static_cast<std::uint8_t>(byte);
    return true;
}

bool ApplyValue(std::string_view key, std::string_view value, CSimMeter& meter) {
    const bool heat = meter.family == SimFamily::Heat;
    std::string* text = nullptr;
    if (key == "v") text = &meter.volume;
    if (heat && key == "q_cooling") text = &meter.qCooling;
    if (heat && key == "q") text = &meter.q;
    if (heat && key == "t1") text = &meter.t1;
    if (heat && key == "t2") text = &meter.t2;
    if (!heat && key == "v_flow") text = &meter.flow;
    if (!heat && key == "v_reverse") text = &meter.reverse;
    if (!heat && key == "bat") text = &meter.battery;
    if (text != nullptr) {
        *text = value;
        return IsDecimal(value);
    }
    unsigned number = 0;
    if (key == "clock") return ParseClock(value, meter.clock);
    if (key == "endless") return ParseEndless(value, meter);
    if (!ParseNumber(value, number)) return false;
    if (heat && key == "hours") meter.hours = number;
    else if (!heat && key == "minutes") meter.minutes = number;
    else if (key == "as" && number <= kLargestSerial) meter.answerAs = number;
    else if (key == "trailing") meter.trailingBytes = number;
    else if (key == "late") meter.lateMs = number;
    else if (key == "preamble" && number <= kLongestRun) meter.preambleBytes = number;
    else if (key == "noise" && number <= kLongestRun) meter.noiseBytes = number;
    else return false;
    return true;
}
}  // namespace

bool ParseMeterSpec(std::string_view text, CSimMeter& meter, std::string& error) {
    meter = CSimMeter{};
    const std::string whole(text);
    std::size_t colon = text.find(':');
    const std::string_view family = text.substr(0, colon);
    if (family == "heat") {
        meter.family = SimFamily::Heat;
    } else if (family == "water") {
        meter.family = SimFamily::Water;
    } else {
        error = "'" + whole + "': the family must be heat or water";
        return false;
    }
    std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    const std::size_t comma = rest.find(',');
    if (!ParseNumber(rest.substr(0, comma), meter.serial) || meter.serial > kLargestSerial) {
        error = "'" + whole + "': the serial must be 0 to 99999999";
        return false;
    }
    rest = comma == std::string_view::npos ? "" : rest.substr(comma + 1);
    while (!rest.empty()) {
        const std::size_t next = rest.find(',');
        const std::string_view item = rest.substr(0, next);
        rest = next == std::string_view::npos ? "" : rest.substr(next + 1);
        const std::size_t equals = item.find('=');
        bool known = false;
        if (equals == std::string_view::npos) {
            if (item == "silent") meter.silent = known = true;
            if (item == "bad-checksum") meter.badChecksum = known = true;
            if (item == "hang-up") meter.hangUp = known = true;
        } else {
            known = ApplyValue(item.substr(0, equals), item.substr(equals + 1), meter);
        }
        if (!known) {
            error = "'" + whole + "': '" + std::string(item) + "' is not understood";
            return false;
        }
    }
    return true;
}

bool ParseMeterList(std::string_view text, std::vector<CSimMeter>& meters, std::string& error) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? "" : text.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;
        CSimMeter meter;
        if (!ParseMeterSpec(line, meter, error)) return false;
        meters.push_back(meter);
    }
    return true;
}

std::vector<CSimMeter> DemoMeters() {
    std::vector<CSimMeter> meters;
    const char* specs[] = {
        "heat:12345678,q_cooling=1234.56,q=250.00,v=1234.5,t1=21.50,t2=18.05,hours=1234",
        "heat:12345679,q_cooling=0,q=1830.25,v=310.0425,t1=65.20,t2=41.70,hours=8760",
        "water:87654321,v=12.345,v_flow=0.100,bat=3.61,minutes=300",
        "water:87654322,v=204.007,v_flow=0.031,bat=3.58,minutes=52000,v_reverse=0.012",
    };
    std::string ignored;
    for (const char* description : specs) {
        CSimMeter meter;
        if (ParseMeterSpec(description, meter, ignored)) meters.push_back(meter);
    }
    return meters;
}
