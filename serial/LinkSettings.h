#pragma once

class CIniFile;

// How long the link waits: for the end of a reply, and for a network link to connect.
struct CLinkSettings {
    unsigned silenceMs = 9000;       // silence that ends a reply
    bool endOnCompleteFrame = true;  // end a reply as soon as it forms one complete frame
    unsigned connectWaitMs =
        3000;  // a serial device server that does not answer by then is refused
};

// The SERIAL key END_ON_FRAME = 0 restores the pure silence rule; any other value or none
// keeps the frame-complete ending.
inline constexpr const char* kEndOnFrameKey = "END_ON_FRAME";
CLinkSettings LinkSettingsFrom(const CIniFile& ini);
