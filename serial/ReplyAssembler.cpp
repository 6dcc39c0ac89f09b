#include "serial/ReplyAssembler.h"

#include <vector>

CReplyAssembler::CReplyAssembler(std::optional<CMeterSerialBytes> asked) : asked_(asked) {}

bool CReplyAssembler::IsAsked(const CFrameSpan& frame) const {
    return !asked_ || SerialBytesOf(held_.Bytes(), frame) == *asked_;
}

void CReplyAssembler::Drop(std::size_t first, std::size_t end) {
    const std::vector<std::uint8_t>& all = held_.Bytes();
    CDataPackage kept;
    for (std::size_t i = 0; i < all.size(); ++i)
        (i >= first && i < end ? dropped_ : kept).Add(all[i]);
    held_ = kept;
}

ReplyProgress CReplyAssembler::Add(std::uint8_t byte) {
    dropped_.Clear();
    held_.Add(byte);
    const std::optional<CFrameSpan> first = FrameEndingAt(held_.Bytes());
    if (!first) {
        return held_.Size() >= kMaxReplyBytes ? ReplyProgress::Overlong : ReplyProgress::MoreNeeded;
    }
    // Another meter's frame may, by a rare chance of its bytes, enclose one of the meter asked
    // that ends at the same byte: the asked one is the reply.
    std::optional<CFrameSpan> frame = first;
    while (frame && !IsAsked(*frame)) frame = FrameEndingAt(held_.Bytes(), frame->start + 1);
    if (!frame) {
        Drop(keptEnd_, held_.Size());
        return ReplyProgress::OtherMeter;
    }
    // So that the frame checks find this frame first, nothing before it that could start
    // another one stays.
    if (frame->start != first->start) Drop(0, frame->start);
    keptEnd_ = held_.Size();
    return ReplyProgress::Complete;
}
