// The worked and hostile replies of replies/: NAME.hex, or NAME.VARIANT.hex, beside
// NAME.expected, what the reply must give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "meter/Telegram.h"
#include "serial/Frame.h"
#include "serial/HexPackage.h"
#include "serial/MemoryChannel.h"
#include "serial/ProcessComPort.h"
#include "support/TempWorkDir.h"

namespace {
// The bytes of a .hex file as they came off the line: hex pairs, '#' starting a comment.
CDataPackage LineBytesOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text, line;
    while (std::getline(in, line)) text += line.substr(0, line.find('#')) + " ";
    return HexPackage(text);
}

// What a reply gives, written out as the .expected files have it.
std::string Outcome(const CDataPackage& received) {
    CTelegram telegram(received);
    const int check = telegram.Decode();
    std::ostringstream out;
    out << "check: " << check << "\n";
    if (const CDataHeat* heat = telegram.HeatData()) {
        out << "heat " << heat->serial << "\ndate: " << heat->date.view()
            << "\nq_cooling: " << heat->q_cooling.view() << "\nq: " << heat->q.view()
            << "\nv: " << heat->v.view() << "\nt1: " << heat->t1.view()
            << "\nt2: " << heat->t2.view() << "\ndt: " << heat->dt.view()
            << "\nrunning_time_hour: " << heat->running_time_hour << "\n";
    } else if (const CDataWater* water = telegram.WaterData()) {
        out << "water " << water->serial << "\ndate: " << water->date.view()
            << "\nv: " << water->v.view() << "\nv_flow: " << water->v_flow.view()
            << "\nbat: " << water->bat.view()
            << "\nrunning_time_minute: " << water->running_time_minute
            << "\nv_reverse: " << water->v_reverse.view() << "\n";
    } else if (check == TelegramOk) {
        out << "no reading" << (telegram.Fault().empty() ? "" : ": " + telegram.Fault()) << "\n";
    }
    return out.str();
}

// A read request to the meter whose address the reply carries, so the receive takes it as the
// reply asked for; any request when the bytes hold no frame.
CDataPackage RequestAnsweredBy(const CDataPackage& line) {
    CDataPackage request = HexPackage("FE FE FE 68 20");
    const auto frame = FrameEndingAt(line.Bytes());
    for (std::size_t i = 0; i < 7; ++i) request.Add(frame ? line.At(frame->start + 2 + i) : 0);
    for (std::uint8_t byte : {0x01, 0x03, 0x90, 0x1F, 0x01}) request.Add(byte);
    AppendChecksum(request);
    request.Add(kFrameEnd);
    return request;
}

// The reply through the receive over a line that brings exactly these bytes.
CDataPackage Received(const CDataPackage& line, bool endOnFrame) {
    auto memory = std::make_shared<CMemoryLine>();
    memory->Answer({{line}});
    CLinkSettings settings;
    settings.endOnCompleteFrame = endOnFrame;
    CProcessComPort port(std::make_unique<CMemoryChannel>(memory), 9600, settings);
    port.SendPackage(RequestAnsweredBy(line));
    CDataPackage reply("Read");
    port.ReceivePackage(reply);
    return reply;
}
}  // namespace

TEST(ReplyFiles, EachReplyGivesWhatItsExpectedFileSays) {
    CTempWorkDir dir;  // console.log of the receive goes here
    int walked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VEVO_REPLY_FILES)) {
        const std::filesystem::path file = entry.path();
        if (file.extension() != ".hex") continue;
        const std::string name = file.filename().string();
        const std::filesystem::path expected =
            file.parent_path() / (name.substr(0, name.find('.')) + ".expected");
        const CDataPackage line = LineBytesOf(file);
        CDataPackage received = line;
        received.Add(line.At(line.Size() - 1));

        EXPECT_EQ(Outcome(received), ReadFile(expected)) << name;
        // The receive hands the reply over whole, whatever came before its frame, under both
        // rules that end a reply.
        for (bool endOnFrame : {true, false}) {
            EXPECT_EQ(Received(line, endOnFrame).Bytes(), received.Bytes())
                << name << (endOnFrame ? ", ended by its frame" : ", ended by silence");
        }
        ++walked;
    }
    EXPECT_GE(walked, 30);
}
