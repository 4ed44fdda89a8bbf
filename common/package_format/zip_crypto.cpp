#include "common/package_format/zip_crypto.h"

#include <string.h>
#include <zlib.h>

namespace common {

static inline uint32_t crcStep(const z_crc_t* table, uint32_t crc, unsigned char byte)
{
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

static inline void update(const z_crc_t* table, ZipKeys& keys, unsigned char plain)
{
    keys.key0 = crcStep(table, keys.key0, plain);
    keys.key1 = (keys.key1 + (keys.key0 & 0xFF)) * 134775813u + 1u;
    keys.key2 = crcStep(table, keys.key2, static_cast<unsigned char>(keys.key1 >> 24));
}

void updateZipKeys(ZipKeys& keys, unsigned char plain)
{
    update(get_crc_table(), keys, plain);
}

unsigned char zipKeyStreamByte(const ZipKeys& keys)
{
    const uint32_t t = (keys.key2 | 2u) & 0xFFFFu;
    return static_cast<unsigned char>((t * (t ^ 1u)) >> 8);
}

ZipKeys zipKeysForPassword(const char* password, size_t length)
{
    ZipKeys keys{0x12345678u, 0x23456789u, 0x34567890u};
    const z_crc_t* table = get_crc_table();
    for (size_t i = 0; i < length; ++i)
        update(table, keys, static_cast<unsigned char>(password[i]));
    return keys;
}

void decryptZipBuffer(ZipKeys& keys, unsigned char* data, size_t size)
{
    const z_crc_t* table = get_crc_table();
    for (size_t i = 0; i < size; ++i) {
        data[i] ^= zipKeyStreamByte(keys);
        update(table, keys, data[i]);
    }
}

void encryptZipBuffer(ZipKeys& keys, unsigned char* data, size_t size)
{
    const z_crc_t* table = get_crc_table();
    for (size_t i = 0; i < size; ++i) {
        const unsigned char plain = data[i];
        data[i] ^= zipKeyStreamByte(keys);
        update(table, keys, plain);
    }
}

unsigned char encryptionCheckByte(uint16_t flags, uint16_t modTime, uint32_t crc32)
{
    return static_cast<unsigned char>((flags & kCheckByteFromTime) ? modTime >> 8 : crc32 >> 24);
}

bool passwordOpens(const char* password, size_t length, const unsigned char* header, unsigned char checkByte,
                   ZipKeys& keys)
{
    unsigned char copy[kEncryptionHeaderSize];
    memcpy(copy, header, sizeof copy);
    keys = zipKeysForPassword(password, length);
    decryptZipBuffer(keys, copy, sizeof copy);
    return copy[kEncryptionHeaderSize - 1] == checkByte;
}

}  // namespace common
