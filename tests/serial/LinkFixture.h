#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "meter/LongFrame.h"
#include "meter/MeterCodes.h"
#include "meter/Telegram.h"
#include "serial/LinkErrors.h"
#include "serial/ProcessComPort.h"
#include "support/TempWorkDir.h"
#include "tools/simulator/MeterSimulator.h"
#include "tools/simulator/MeterSpec.h"

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

inline CSimMeter Meter(const std::string& description) {
    CSimMeter meter;
    std::string error;
    EXPECT_TRUE(ParseMeterSpec(description, meter, error)) << error;
    return meter;
}

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

// Meter 1's reply comes `lateMs` after the request, when its exchange has given up on it
// already; meter 2's exchange must then see only its own reply.
inline constexpr unsigned kLateMs = kSilenceMs + kReadInterval + 150;
inline std::vector<CSimMeter> LateThenPrompt() {
    return {Meter("heat:1,late=" + std::to_string(kLateMs)), Meter("heat:2")};
}
inline void ExpectALateReplyLeftOutOfTheNextExchange(CProcessComPort& port) {
    const CExchange late = Exchange(port, 1);
    EXPECT_EQ(late.reply.Size(), 1u) << "the late reply missed its exchange";
    std::this_thread::sleep_for(std::chrono::milliseconds(kLateMs + 200) -
                                std::chrono::milliseconds(static_cast<int>(late.ms)));
    const CExchange next = Exchange(port, 2);
    EXPECT_EQ(next.check, TelegramOk);
    EXPECT_EQ(next.serial, 2);
    EXPECT_EQ(next.reply.Size(), 63u);
}
}  // namespace link_test

// The operator's answers scripted (Retry `retries` times, then Cancel) and recorded, console.log
// in a fresh working directory, and the meter simulator on a pseudo-terminal or a TCP port.
class SerialLink : public ::testing::Test {
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

    // The name to open the simulator by.
    std::string Play(std::vector<CSimMeter> meters, CSimLine line = {}) {
        simulator = std::make_unique<CMeterSimulator>(std::move(meters), line);
        std::string error;
        EXPECT_TRUE(simulator->Start(error)) << error;
        return simulator->PortPath();
    }
    std::string PlayTcp(std::vector<CSimMeter> meters, unsigned port = 0, CSimLine line = {}) {
        simulator = std::make_unique<CMeterSimulator>(std::move(meters), line);
        std::string error;
        EXPECT_TRUE(simulator->StartTcp(port, error)) << error;
        return simulator->PortPath();
    }

    bool WaitForRequests(std::size_t count) const {
        const link_test::Clock::time_point start = link_test::Clock::now();
        while (simulator->Requests().size() < count && link_test::MsSince(start) < 2000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return simulator->Requests().size() == count;
    }

    CTempWorkDir dir;  // console.log goes here
    std::unique_ptr<CMeterSimulator> simulator;
    std::vector<link_test::CAsked> asked;
    int retries = 0;
    std::function<void()> beforeRetry;
};
