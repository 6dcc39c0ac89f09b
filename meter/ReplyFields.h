#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "serial/DataPackage.h"
#include "serial/Frame.h"

// Reads the fields of one sound reply by the indexes of the decoding tables, which count from
// a start character at index 3 whatever preamble the reply came with. Every field read as
// packed BCD must be BCD and the meter clock a real date and time: the first field that is not
// is the reply's fault, and the reading made of it is to be thrown away.
class CReplyFields {
public:
    CReplyFields(const CDataPackage& package, const CFrameSpan& frame);

    // The byte at a table index; 0 outside the package.
    std::uint8_t At(std::size_t index) const;
    // The last data byte's table index.
    std::size_t LastDataIndex() const { return frame_.size; }

    // The decimal digits of the BCD bytes at `indexes`, most significant first: each byte as
    // "%02X" prints it, two characters a byte even when one is not BCD.
    std::string Digits(const char* field, std::initializer_list<std::size_t> indexes);
    // The meter clock "YYYY-MM-DD hh:mm", with ":ss" when `second` is given.
    std::string Clock(const char* field, std::size_t yearHigh, std::size_t yearLow,
                      std::size_t month, std::size_t day, std::size_t hour, std::size_t minute,
                      std::optional<std::size_t> second = std::nullopt);

    // Empty while every field read so far was sound; else what was wrong with the first that
    // was not, e.g. "t1 (2A 50) is not a number".
    const std::string& Fault() const { return fault_; }

private:
    // True when every byte is BCD; else records the fault (once) and returns false.
    bool CheckBcd(const char* field, std::span<const std::size_t> indexes);
    void Fail(const char* field, std::span<const std::size_t> indexes, const char* what);

    const CDataPackage& package_;
    CFrameSpan frame_;
    std::string fault_;
};
