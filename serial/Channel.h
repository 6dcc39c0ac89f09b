#pragma once

// The root of the program's byte links; the serial port is the one there is.
class CChannel {
public:
    virtual ~CChannel() = default;
};
