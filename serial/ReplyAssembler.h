#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "serial/DataPackage.h"
#include "serial/Frame.h"

// What the bytes of one reply make so far.
enum class ReplyProgress {
    MoreNeeded,  // no whole frame of the meter asked for yet
    Complete,    // the bytes end with a whole frame of the meter asked for
    OtherMeter,  // a whole frame of another meter came and was taken off (see Dropped)
    Overlong,    // kMaxReplyBytes are held without ending in a frame: the line only babbles
};

// A receive holds no more bytes than this for one reply: the longest frame with room for a
// long preamble and line noise before it.
inline constexpr std::size_t kMaxReplyBytes = 512;

// The bytes of one reply as they come off the line, one at a time. It does no I/O: the receive
// feeds it and acts on its answer. A whole frame from another meter than the one asked (a late
// reply to an earlier request, a neighbour on the same radio channel) is taken off with what
// came before it, as if it had not come.
class CReplyAssembler {
public:
    // `asked`: the serial-number bytes the request went to; none takes every frame.
    explicit CReplyAssembler(std::optional<CMeterSerialBytes> asked);

    ReplyProgress Add(std::uint8_t byte);
    // The bytes held for the reply.
    const CDataPackage& Bytes() const { return held_; }
    // What the last Add took off: a frame of another meter with what came before it.
    const CDataPackage& Dropped() const { return dropped_; }

private:
    bool IsAsked(const CFrameSpan& frame) const;
    // Moves held bytes [first, end) to the dropped ones.
    void Drop(std::size_t first, std::size_t end);

    std::optional<CMeterSerialBytes> asked_;
    CDataPackage held_;
    CDataPackage dropped_;
    // Where the last frame of the meter asked for ends in `held_`: a frame of another meter
    // after it is taken off from there, so the asked meter's frame stays. Up to there, the
    // first frame the frame checks find is always one of the meter asked.
    std::size_t keptEnd_ = 0;
};
