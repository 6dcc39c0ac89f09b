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

TEST(Log, AFullLogIsKeptAsTheOlderOneAndANewOneBegun) {
    CTempWorkDir dir;
    constexpr std::uintmax_t kLimit = 10 * 1024 * 1024;
    WriteFile("console.log.1", "the oldest\n");
    WriteFile("console.log", "first\n");
    std::filesystem::resize_file("console.log", kLimit - 4);
    Log.WriteText("fits");
    EXPECT_EQ(std::filesystem::file_size("console.log"), kLimit);
    Log.WriteText("next\n");
    EXPECT_EQ(ReadFile("console.log"), "next\n");
    EXPECT_EQ(std::filesystem::file_size("console.log.1"), kLimit);
    EXPECT_EQ(ReadFile("console.log.1").substr(0, 6), "first\n");
}
