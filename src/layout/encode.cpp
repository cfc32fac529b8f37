#include "layout/encode.h"

#include <cmath>
#include <limits>

#include "layout/voltage_text.h"

namespace clockvane {

std::uint32_t EncodeClock(std::int16_t mhz)
{
    // The field's unit is 10 kHz. Only the upper 16 bits of the 24-bit value come from the
    // slider; the lowest byte is set to the middle of its range so that the checksum
    // correction can move it either way. No rounding: 775 MHz is 77,500 = 0x012EBC and
    // becomes 0x012E7F (774.39 MHz).
    const std::int32_t units = static_cast<std::int32_t>(mhz) * 100;
    return (static_cast<std::uint32_t>(units) & 0xFFFF00u) | kCompensationMiddle;
}

std::optional<std::uint16_t> EncodeVcore(std::string_view text, char separator)
{
    const std::optional<double> volts = parseVolts(text, separator);
    if (!volts) return std::nullopt;
    // Round half to even, as the box value 1.0625 V must give 1062 mV and 1.1875 V 1188 mV.
    // nearbyint follows the current rounding mode, which the program never changes from
    // round-to-nearest-even.
    const double millivolts = std::nearbyint(*volts * 1000.0);
    if (!std::isfinite(millivolts) || millivolts < 0.0 ||
        millivolts > static_cast<double>(std::numeric_limits<std::uint16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(millivolts);
}

}  // namespace clockvane
