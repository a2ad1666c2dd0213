#include "platform/linux/HidReportDescriptor.h"

namespace platform::linuxhid {

std::optional<uint32_t> primaryUsagePage(const uint8_t *descriptor, size_t length)
{
    size_t offset = 0;
    while (offset < length) {
        const uint8_t prefix = descriptor[offset];
        if (prefix == 0xFE) {
            // Long item: size, tag, then the data bytes.
            if (offset + 2 >= length)
                return std::nullopt;
            offset += 3 + descriptor[offset + 1];
            continue;
        }
        size_t size = prefix & 0x03;
        if (size == 3)
            size = 4;
        if (offset + 1 + size > length)
            return std::nullopt;
        const uint8_t type = (prefix >> 2) & 0x03;
        const uint8_t tag = prefix >> 4;
        if (type == 1 && tag == 0) {  // global item, Usage Page
            uint32_t value = 0;
            for (size_t i = 0; i < size; ++i)
                value |= uint32_t(descriptor[offset + 1 + i]) << (8 * i);
            return value;
        }
        offset += 1 + size;
    }
    return std::nullopt;
}

} // namespace platform::linuxhid
