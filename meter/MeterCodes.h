#pragma once

// Meter type codes as they travel at frame index 4.
inline constexpr int MeterCodeHeat = 0x20;   // heat meters
inline constexpr int MeterCodeWater = 0x10;  // cold- and hot-water meters alike

// The type code for a meter kind (0 heat, 1 cold water, 2 hot water); -1 for any other kind,
// which a request then carries as FF.
constexpr int MeterCodeOfKind(int kind) {
    return kind == 0 ? MeterCodeHeat : (kind == 1 || kind == 2) ? MeterCodeWater : -1;
}
