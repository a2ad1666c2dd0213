#pragma once
// Reading a HID report descriptor for the one fact the device layer needs:
// the primary usage page, taken as the first Usage Page item.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform::linuxhid {

// The value of the first Usage Page (global item, tag 0) of a report
// descriptor, or nothing when it has none or the items run past the end.
std::optional<uint32_t> primaryUsagePage(const uint8_t *descriptor, size_t length);

} // namespace platform::linuxhid
