#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What one simulated meter reports and how it misbehaves.
enum class SimFamily { Heat, Water };

// What a line that never falls silent keeps sending, from the reply's time until the next
// request: one byte over and over (a stuck modem), radio noise, or the reply over and over (a
// burst that keeps restarting).
enum class SimEndless { None, Byte, Noise, Reply };

// The meter clock: the local time of each reply unless a fixed time is set.
struct CSimClock {
    bool now = true;
    int year = 2025, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

struct CSimMeter {
    unsigned serial = 0;
    SimFamily family = SimFamily::Heat;

    // Values as decimal texts; digits beyond what the reply carries are dropped.
    // Heat: energies in kWh with 2 decimals, volume in m3 with 4, temperatures with 2.
    // Water: volumes in m3 with 3 decimals, battery in V with 2.
    std::string qCooling = "0", q = "0", volume = "0", t1 = "0", t2 = "0";
    std::string flow = "0", reverse = "0", battery = "3.60";
    unsigned hours = 0;    // heat: running hours, up to 6 digits
    unsigned minutes = 0;  // water: running minutes, a 16-bit counter
    CSimClock clock;

    // Misbehaviour.
    bool silent = false;                // never answers
    bool hangUp = false;                // asked, the modem drops off the line for good
    std::optional<unsigned> answerAs;   // answers with another serial in its address
    bool badChecksum = false;           // the reply's checksum is off by one
    unsigned trailingBytes = 0;         // bytes sent after the end character
    unsigned lateMs = 0;                // answers this much later than the line's delay
    unsigned preambleBytes = 3;         // wake-up bytes FE before the start character
    unsigned noiseBytes = 0;            // line noise before the preamble
    SimEndless endless = SimEndless::None;
    std::uint8_t endlessByte = 0x68;  // what SimEndless::Byte repeats
};

// How the simulated radio modem carries replies.
struct CSimLine {
    unsigned replyDelayMs = 0;    // from the end of a request to the start of its reply
    unsigned burstBytes = 0;      // replies go out in bursts of this many bytes; 0: in one run
    unsigned burstGapMs = 0;      // the pause between bursts
    bool paceAtLineSpeed = true;  // bytes follow each other at the speed the port was set to
};
