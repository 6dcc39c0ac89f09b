#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/LinkErrors.h"
#include "serial/ProcessComPort.h"
#include "support/TempWorkDir.h"

// Exchanges over a link and what the operator was asked meanwhile, on every platform.
namespace link_test {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Short enough for tests, long against the line at 9600 bit/s.
inline constexpr unsigned kSilenceMs = 250;
inline constexpr unsigned kSpeed = 9600;
inline constexpr unsigned kReadInterval = 33;
inline constexpr double kCharacterMs = 11000.0 / kSpeed;
inline constexpr double kRequestMs = 19 * kCharacterMs;
inline constexpr double kHeatReplyMs = 61 * kCharacterMs;  // from its first byte to its last
inline constexpr std::size_t kHeatReplyBytes = 62;         // on the line
inline constexpr const char* kCannotOpen = "Не удалось установить соединение";
inline constexpr const char* kLost = "Соединение было прервано.";

struct CAsked {
    int kind;
    std::string text;
    bool operator==(const CAsked&) const = default;
};

struct CExchange {
    CDataPackage reply{"Read"};
    double ms = 0;
    int check = -1;
    int serial = -1;  // of the decoded reading
};

inline double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline std::string LogOf(const CDataPackage& package) {
    std::string text;
    char item[8];
    for (std::uint8_t byte : package.Bytes()) {
        std::snprintf(item, sizeof item, " %02X ", byte);
        text += item;
    }
    return text;
}

inline CLinkSettings Rule(bool endOnFrame) {
    CLinkSettings settings;
    settings.silenceMs = kSilenceMs;
    settings.endOnCompleteFrame = endOnFrame;
    return settings;
}

inline CExchange Exchange(CProcessComPort& port, unsigned serial, int code = MeterCodeHeat) {
    CExchange exchange;
    const Clock::time_point start = Clock::now();
    port.SendPackage(*CLongFrame().BuildReadRequest(serial, code));
    port.ReceivePackage(exchange.reply);
    exchange.ms = MsSince(start);
    CTelegram telegram(exchange.reply);
    exchange.check = telegram.Decode();
    if (telegram.HeatData() != nullptr) exchange.serial = telegram.HeatData()->serial;
    if (telegram.WaterData() != nullptr) exchange.serial = telegram.WaterData()->serial;
    return exchange;
}

}  // namespace link_test

// The operator's answers scripted (Retry `retries` times, then Cancel) and recorded, and
// console.log in a fresh working directory.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetLinkErrorHandler([this](int kind, const char* text) {
            asked.push_back({kind, text});
            if (retries == 0) return false;
            --retries;
            if (beforeRetry) beforeRetry();
            return true;
        });
    }
    void TearDown() override { SetLinkErrorHandler({}); }

    CTempWorkDir dir;  // console.log goes here
    std::vector<link_test::CAsked> asked;
    int retries = 0;
    std::function<void()> beforeRetry;
};
