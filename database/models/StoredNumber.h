#pragma once

#include <optional>

// A value of a report row as the database holds it; none for NULL or a text that is no number.
using CStoredNumber = std::optional<double>;
