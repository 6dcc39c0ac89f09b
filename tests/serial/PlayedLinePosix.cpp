#include "serial/PlayedLine.h"

#include <gtest/gtest.h>

#include "support/TempWorkDir.h"
#include "tools/simulator/MeterSimulator.h"
#include "tools/simulator/MeterSpec.h"

struct CPlayedLine::CPlayer {
    std::unique_ptr<CMeterSimulator> simulator;
};

CPlayedLine::CPlayedLine(const std::string& meters) : player_(std::make_unique<CPlayer>()) {
    std::vector<CSimMeter> played;
    std::string error;
    const std::string file = std::string(VEVO_PLAYED_METERS) + "/" + meters + ".meters";
    EXPECT_TRUE(ParseMeterList(ReadFile(file), played, error)) << file << ": " << error;
    player_->simulator = std::make_unique<CMeterSimulator>(std::move(played));
    EXPECT_TRUE(player_->simulator->Start(error)) << error;
    port_ = player_->simulator->PortPath();
}

CPlayedLine::~CPlayedLine() = default;
