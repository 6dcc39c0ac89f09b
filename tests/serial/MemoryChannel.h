#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "serial/Channel.h"
#include "serial/DataPackage.h"

// A link without a line, for the rules that need none. The test says what the line brings after
// each write, the quiet before each piece included, and reads back what was written and every
// wait that was asked. Time is the line's own: a wait passes at once, and quiet shorter than
// the wait lets the next byte in.
struct CMemoryLine {
    struct CPiece {
        CDataPackage bytes;
        unsigned quietMs = 0;  // before its first byte
    };

    // What the next write gets in answer; a write with none queued gets silence.
    void Answer(std::vector<CPiece> pieces) { answers.push_back(std::move(pieces)); }

    std::deque<std::vector<CPiece>> answers;
    struct CComing {
        std::uint8_t byte;
        unsigned quietMs;
    };
    std::deque<CComing> coming;  // brought by the line, not read yet
    std::vector<std::uint8_t> written;
    std::vector<unsigned> waits;
    bool lost = false;  // reads, writes and purges find the line gone
    bool interrupted = false;
    bool refuses = false;  // opening fails
    int opens = 0;
};

class CMemoryChannel : public CChannel {
public:
    explicit CMemoryChannel(std::shared_ptr<CMemoryLine> line) : line_(std::move(line)) {}

    ChannelOpening Open() override {
        ++line_->opens;
        open_ = !line_->refuses;
        return open_ ? ChannelOpening::Open : ChannelOpening::Refused;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    bool Purge() override {
        line_->coming.clear();
        return !line_->lost;
    }
    bool Write(const CDataPackage& package) override {
        if (line_->lost) return false;
        line_->written.insert(line_->written.end(), package.Bytes().begin(), package.Bytes().end());
        if (line_->answers.empty()) return true;
        for (const CMemoryLine::CPiece& piece : line_->answers.front()) {
            unsigned quiet = piece.quietMs;
            for (std::uint8_t byte : piece.bytes.Bytes()) {
                line_->coming.push_back({byte, quiet});
                quiet = 0;
            }
        }
        line_->answers.pop_front();
        return true;
    }
    ChannelRead ReadByte(std::uint8_t& byte, unsigned waitMs) override {
        line_->waits.push_back(waitMs);
        if (line_->interrupted) return ChannelRead::Interrupted;
        if (line_->lost) return ChannelRead::Lost;
        if (line_->coming.empty()) return ChannelRead::Silence;
        CMemoryLine::CComing& next = line_->coming.front();
        if (next.quietMs > waitMs) {
            next.quietMs -= waitMs;
            return ChannelRead::Silence;
        }
        byte = next.byte;
        line_->coming.pop_front();
        return ChannelRead::Byte;
    }
    void Interrupt() override { line_->interrupted = true; }
    void Resume() override { line_->interrupted = false; }
    const std::string& Name() const override { return name_; }

private:
    std::shared_ptr<CMemoryLine> line_;
    bool open_ = false;
    std::string name_ = "memory";
};
