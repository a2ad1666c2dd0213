#pragma once
// A firmware file as it is flashed: the whole file mapped read-only, with the
// 16-byte DFU suffix at its end parsed. The image sent to a device is the
// file without its suffix, straight from the mapping.
//
// Suffix layout, read backwards from the end of the file, little-endian:
//   -16 bcdDevice, -14 idProduct, -12 idVendor, -10 bcdDFU (2 bytes each),
//   -8 the signature "UFD", -5 bLength, -4 dwCRC.

#include <cstddef>
#include <cstdint>
#include <string>

// Result codes of the functions below.
enum {
    DFU_FILE_MAP_FAILED = 2,      // opened, but it could not be mapped (an empty file)
    DFU_FILE_MAPPED = 3,
    DFU_FILE_OPEN_FAILED = 4,
    DFU_SUFFIX_TOO_SHORT = 6,     // shorter than a suffix
    DFU_SUFFIX_INVALID = 7,       // bad signature, or bLength below 16 or beyond the file
    DFU_SUFFIX_CRC_MISMATCH = 8,
    DFU_SUFFIX_VALID = 10,
    DFU_SUFFIX_EMPTY_IMAGE = 11,  // a well-formed suffix with nothing in front of it
    DFU_SUFFIX_WRONG_DEVICE = 12, // the suffix names another vendor or product
};

constexpr uint16_t DFU_SUFFIX_LENGTH = 16;
constexpr uint16_t DFU_SUFFIX_VENDOR_ID = 0x1D5C;
constexpr uint16_t DFU_SUFFIX_WILDCARD = 0xFFFF;

struct dfu_file {
    std::string name;                  // the file's path, UTF-8
    const uint8_t *firmware = nullptr; // read-only mapping of the whole file
    struct {
        int64_t total = 0;             // file length
        int64_t suffix = 0;            // bLength of the suffix
    } size;
    uint32_t dwCRC = 0;                // as stored in the suffix
    uint16_t bcdDFU = 0;
    uint16_t idVendor = 0xFFFF;
    uint16_t idProduct = 0xFFFF;
    uint16_t bcdDevice = 0xFFFF;

    // The bytes sent to a device.
    const uint8_t *image() const { return firmware; }
    int64_t imageSize() const { return size.total - size.suffix; }
};

// Maps the file named by file->name read-only into file->firmware and sets
// size.total. DFU_FILE_MAPPED, DFU_FILE_MAP_FAILED or DFU_FILE_OPEN_FAILED.
int dfu_map_file(dfu_file *file);

// Releases a mapping made by dfu_map_file; the record then maps nothing.
void dfu_unmap_file(dfu_file *file);

// Parses and verifies the suffix of a mapped file: length, signature,
// bLength, the CRC over everything but the CRC field itself, and that an
// image is left in front of the suffix. DFU_SUFFIX_VALID when all hold.
int dfu_parse_suffix(dfu_file *file);

// Checks the suffix's ids against the device the file is meant for:
// the vendor must be ours and the product either the device's run-mode or
// its DFU-mode id (0xFFFF in the suffix matches anything). productId may be
// either id of the device. DFU_SUFFIX_VALID or DFU_SUFFIX_WRONG_DEVICE.
int dfu_check_ids(const dfu_file *file, uint16_t productId);

// The other product id of a family's pair (run-mode <-> DFU-mode), or 0 when
// productId belongs to no family.
uint16_t dfu_paired_product_id(uint16_t productId);

// CRC-32 as DFU suffixes store it: reflected polynomial 0xEDB88320, initial
// value all ones, no final inversion. crc is the running value (start with
// 0xFFFFFFFF).
uint32_t dfu_crc32(uint32_t crc, const uint8_t *data, size_t length);

// Text of a result code, for log lines.
const char *dfu_file_result_name(int result);
