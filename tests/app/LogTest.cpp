#include "app/Log.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/TempWorkDir.h"

TEST(Log, AppendsTextsExactlyAsFormatted) {
    CTempWorkDir dir;
    Log.Write(" %02X ", 0x68);
    Log.Write(" %02X ", 0x0A);
    Log.WriteText("POST /rest?a=100%25 HTTP/1.0\r\n");
    EXPECT_EQ(ReadFile("console.log"), " 68  0A POST /rest?a=100%25 HTTP/1.0\r\n");
}

TEST(Log, TextsFromManyThreadsAreEachWrittenWhole) {
    CTempWorkDir dir;
    const std::string text(200, 'x');
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) Log.WriteText(text + "\n");
        });
    }
    for (auto& thread : threads) thread.join();
    const std::string log = ReadFile("console.log");
    EXPECT_EQ(log.size(), 4u * 50u * 201u);
    for (std::size_t pos = 0; pos < log.size(); pos += 201) EXPECT_EQ(log.substr(pos, 201), text + "\n");
}

TEST(Log, AnUnwritableLogIsSilent) {
    CTempWorkDir dir;
    std::filesystem::create_directory("console.log");
    Log.Write("dropped %d", 1);
    SUCCEED();
}
