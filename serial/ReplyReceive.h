#pragma once

#include "serial/Channel.h"
#include "serial/DataPackage.h"
#include "serial/LinkSettings.h"

// One reply as the receive takes it off a link.
struct CReceivedReply {
    // For the caller: the reply with one byte more than it has, a repeat of its last byte or a
    // single 0 when nothing came. The frame checks expect exactly this.
    CDataPackage package{"CDataPackage::CDataPackage DataPackage"};
    // What followed a complete frame on the line: read off, never handed over.
    CDataPackage dropped;
    bool lost = false;  // the link went during the receive
};

// Reads a reply one byte at a time. It ends when the line stays silent for the silence time
// after the read interval; or, with the frame-complete ending, as soon as the bytes form one
// complete frame: whatever follows it is read off until the line is quiet for one read interval.
CReceivedReply ReceiveReply(CChannel& channel, unsigned readIntervalMs,
                            const CLinkSettings& settings);
