#pragma once

#include <string>

// A serial port the program discovers like a real one: a pseudo-terminal whose slave side is
// linked into /dev as ttyVEVO<two letters>. Needs the right to write into /dev; Available()
// tells whether it could be made.
class CSimulatedPort {
public:
    CSimulatedPort();
    ~CSimulatedPort();
    CSimulatedPort(const CSimulatedPort&) = delete;
    CSimulatedPort& operator=(const CSimulatedPort&) = delete;

    bool Available() const { return !name_.empty(); }
    const std::string& Name() const { return name_; }  // as listed, e.g. "ttyVEVOqk"
    std::string Path() const { return "/dev/" + name_; }
    // True while some program holds the port open.
    bool HeldOpen() const;
    // The device goes away, as an unplugged adapter does; its name stays behind.
    void Unplug();

private:
    int master_ = -1;
    std::string name_;
};
