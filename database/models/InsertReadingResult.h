#pragma once

// What became of a reading handed to a meter model's InsertReading.
enum class InsertReadingResult {
    Stored,
    // The meter already has a reading at this date-time; that one is kept unchanged.
    AlreadyStored,
    // Not stored for any other reason (the file locked by another program past the busy
    // time-out, read-only, full, damaged, ...); the reason is in the log, and in the outcome
    // when the caller asks for it.
    Failed,
};
