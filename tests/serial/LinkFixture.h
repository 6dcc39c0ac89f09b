#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "serial/LinkExchange.h"
#include "tools/simulator/MeterSimulator.h"
#include "tools/simulator/MeterSpec.h"

namespace link_test {
inline CSimMeter Meter(const std::string& description) {
    CSimMeter meter;
    std::string error;
    EXPECT_TRUE(ParseMeterSpec(description, meter, error)) << error;
    return meter;
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

// The meter simulator in the test, on a pseudo-terminal or a TCP port.
class SerialLink : public LinkTest {
protected:
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

    std::unique_ptr<CMeterSimulator> simulator;
};
