#pragma once
// Traditional PKWARE encryption (the three-key stream cipher), both ways: the generator
// encrypts entries, the setup finds the password and decrypts them.
#include <stddef.h>
#include <stdint.h>

#include "common/package_format/zip_records.h"

namespace common {

constexpr int kEncryptionHeaderSize = 12;

struct ZipKeys {
    uint32_t key0;
    uint32_t key1;
    uint32_t key2;
};

// Fresh keys fed with the password's bytes.
ZipKeys zipKeysForPassword(const char* password, size_t length);
void updateZipKeys(ZipKeys& keys, unsigned char plain);
unsigned char zipKeyStreamByte(const ZipKeys& keys);

void decryptZipBuffer(ZipKeys& keys, unsigned char* data, size_t size);
void encryptZipBuffer(ZipKeys& keys, unsigned char* data, size_t size);

// The check byte an entry's encryption header ends with: the high byte of the
// modification time when flag bit 3 is set, else the high byte of the CRC.
unsigned char encryptionCheckByte(uint16_t flags, uint16_t modTime, uint32_t crc32);

// Decrypts a copy of the 12-byte header with `password`; true when its last
// byte equals `checkByte`. `keys` is then ready for the entry's data.
bool passwordOpens(const char* password, size_t length, const unsigned char* header, unsigned char checkByte,
                   ZipKeys& keys);

}  // namespace common
