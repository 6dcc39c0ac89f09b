#pragma once

#include <optional>
#include <string>

#include "serial/Channel.h"
#include "serial/DataPackage.h"
#include "serial/Frame.h"
#include "serial/LinkSettings.h"

// How long a receive waits, worked out from the line speed and the link settings.
struct CReplyTiming {
    unsigned readIntervalMs = 0;  // quiet that ends what follows a complete frame
    unsigned silenceWaitMs = 0;   // quiet that ends any reply: read interval and silence time
    // From the request on, no exchange lasts longer: twice the silence time and what the
    // longest frame takes on the line, so a meter that answers late is still heard.
    unsigned boundMs = 0;
    bool endOnCompleteFrame = true;
};
CReplyTiming ReplyTimingOf(unsigned speed, const CLinkSettings& settings);

// One reply as the receive takes it off a link.
struct CReceivedReply {
    // For the caller: the reply with one byte more than it has, a repeat of its last byte, or a
    // single 0 when nothing came or the exchange was abandoned. The frame checks expect this.
    CDataPackage package{"CDataPackage::CDataPackage DataPackage"};
    // What console.log gets for the exchange: " %02X " for every byte of the package; frames of
    // other meters, taken off, as " not asked: XX … "; what followed a complete frame as
    // " dropped: XX … "; " stopped " for an abandoned exchange. At most about 1 KB, then " …".
    std::string log;
    bool lost = false;       // the link went during the receive
    bool abandoned = false;  // a stop request woke the wait; nothing is handed over
};

// Reads one reply a byte at a time, right after a request to the meter whose serial-number
// bytes are `asked` (none: any meter). It ends when the line stays silent for the silence wait;
// with the frame-complete ending, as soon as the bytes end in one whole frame of the meter
// asked, whatever follows it being read off until the line is quiet for one read interval. It
// ends at the latest when kMaxReplyBytes came without such a frame, or when the bound has
// passed; at once when the link is lost or a stop request wakes it.
CReceivedReply ReceiveReply(CChannel& channel, const CReplyTiming& timing,
                            std::optional<CMeterSerialBytes> asked);
