#include "serial/PlayedLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

// The simulator is started beside Wine, so the test has nothing to hold.
struct CPlayedLine::CPlayer {};

CPlayedLine::CPlayedLine(const std::string& meters) {
    std::string variable = "VEVO_PLAYED_" + meters;
    std::transform(variable.begin(), variable.end(), variable.begin(),
                   [](char c) { return c == '-' ? '_' : static_cast<char>(std::toupper(c)); });
    const char* port = std::getenv(variable.c_str());
    EXPECT_NE(port, nullptr) << variable << " names no COM port: run tools/windows/core-test.sh";
    port_ = port != nullptr ? port : "";
}

CPlayedLine::~CPlayedLine() = default;
