#include "dfu_file.h"

#include <array>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Eight tables so that eight bytes are folded per step; the first is the
// classic byte-wise table.
struct Crc32Tables {
    std::array<std::array<uint32_t, 256>, 8> t{};
    Crc32Tables()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int s = 1; s < 8; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    }
};

const Crc32Tables &tables()
{
    static const Crc32Tables instance;
    return instance;
}

uint16_t le16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

struct ProductPair {
    uint16_t run;
    uint16_t dfu;
};
constexpr ProductPair kFamilies[] = {
    {0x6E17, 0x6E18}, // Orbrin
    {0x6E12, 0x6E13}, // Vasko
    {0x5C01, 0x5C02}, // Pirok
};

} // namespace

uint32_t dfu_crc32(uint32_t crc, const uint8_t *data, size_t length)
{
    const auto &t = tables().t;
    while (length >= 8) {
        uint32_t lo = crc ^ le32(data);
        uint32_t hi = le32(data + 4);
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24]
            ^ t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        data += 8;
        length -= 8;
    }
    while (length--)
        crc = t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
    return crc;
}

int dfu_map_file(dfu_file *file)
{
    int fd = ::open(file->name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return DFU_FILE_OPEN_FAILED;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return DFU_FILE_OPEN_FAILED;
    }
    file->size.total = st.st_size;
    void *map = MAP_FAILED;
    if (st.st_size > 0 && uint64_t(st.st_size) <= SIZE_MAX)
        map = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        file->firmware = nullptr;
        file->size.total = 0;
        return DFU_FILE_MAP_FAILED;
    }
    file->firmware = static_cast<const uint8_t *>(map);
    return DFU_FILE_MAPPED;
}

void dfu_unmap_file(dfu_file *file)
{
    if (file->firmware && file->size.total > 0)
        ::munmap(const_cast<uint8_t *>(file->firmware), size_t(file->size.total));
    file->firmware = nullptr;
    file->size.total = 0;
    file->size.suffix = 0;
}

int dfu_parse_suffix(dfu_file *file)
{
    file->size.suffix = 0;
    file->bcdDFU = 0;
    file->idVendor = 0xFFFF;
    file->idProduct = 0xFFFF;
    file->bcdDevice = 0xFFFF;

    const int64_t total = file->size.total;
    if (!file->firmware || total < DFU_SUFFIX_LENGTH)
        return DFU_SUFFIX_TOO_SHORT;

    const uint8_t *end = file->firmware + total;
    if (end[-8] != 'U' || end[-7] != 'F' || end[-6] != 'D')
        return DFU_SUFFIX_INVALID;
    file->dwCRC = le32(end - 4);
    file->bcdDFU = le16(end - 10);

    const uint8_t bLength = end[-5];
    file->size.suffix = bLength;
    if (bLength < DFU_SUFFIX_LENGTH || bLength > total)
        return DFU_SUFFIX_INVALID;
    file->idVendor = le16(end - 12);
    file->idProduct = le16(end - 14);
    file->bcdDevice = le16(end - 16);

    if (dfu_crc32(0xFFFFFFFFu, file->firmware, size_t(total - 4)) != file->dwCRC)
        return DFU_SUFFIX_CRC_MISMATCH;
    if (file->imageSize() <= 0)
        return DFU_SUFFIX_EMPTY_IMAGE;
    return DFU_SUFFIX_VALID;
}

uint16_t dfu_paired_product_id(uint16_t productId)
{
    for (const auto &pair : kFamilies) {
        if (pair.run == productId)
            return pair.dfu;
        if (pair.dfu == productId)
            return pair.run;
    }
    return 0;
}

int dfu_check_ids(const dfu_file *file, uint16_t productId)
{
    if (file->idVendor != DFU_SUFFIX_WILDCARD && file->idVendor != DFU_SUFFIX_VENDOR_ID)
        return DFU_SUFFIX_WRONG_DEVICE;
    if (file->idProduct == DFU_SUFFIX_WILDCARD || file->idProduct == productId)
        return DFU_SUFFIX_VALID;
    const uint16_t paired = dfu_paired_product_id(productId);
    if (paired != 0 && file->idProduct == paired)
        return DFU_SUFFIX_VALID;
    return DFU_SUFFIX_WRONG_DEVICE;
}

const char *dfu_file_result_name(int result)
{
    switch (result) {
    case DFU_FILE_MAP_FAILED: return "file cannot be mapped";
    case DFU_FILE_MAPPED: return "file mapped";
    case DFU_FILE_OPEN_FAILED: return "file cannot be opened";
    case DFU_SUFFIX_TOO_SHORT: return "file shorter than a DFU suffix";
    case DFU_SUFFIX_INVALID: return "bad DFU suffix signature or length";
    case DFU_SUFFIX_CRC_MISMATCH: return "DFU suffix CRC mismatch";
    case DFU_SUFFIX_VALID: return "DFU suffix valid";
    case DFU_SUFFIX_EMPTY_IMAGE: return "no image in front of the DFU suffix";
    case DFU_SUFFIX_WRONG_DEVICE: return "DFU suffix names another device";
    }
    return "unknown";
}
