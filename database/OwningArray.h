#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// A growable array that owns its records: destroying it destroys every record in it.
template <class Record>
class COwningArray {
public:
    COwningArray() { records_.reserve(1000); }

    // The array owns the record from now on.
    void Add(Record* record) { records_.emplace_back(record); }
    void Add(std::unique_ptr<Record> record) { records_.push_back(std::move(record)); }

    int Count() const { return static_cast<int>(records_.size()); }
    // Still owned by the array.
    Record* Get(int index) const { return records_[static_cast<std::size_t>(index)].get(); }

    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }

private:
    std::vector<std::unique_ptr<Record>> records_;
};
