#pragma once
// Encrypts entries with the shared traditional PKWARE cipher, the way the generator seals them.

#include <cstdint>
#include <string>

#include "tools/mkpackage/byte_writer.h"
#include "common/package_format/zip_crypto.h"

namespace mkpackage {

class ZipEncryptor {
public:
    explicit ZipEncryptor(const std::string& password);

    // Returns the 12-byte encryption header: eleven filler bytes from `fillerSeed` and the
    // check byte that lets a reader recognise the password.
    Bytes header(std::uint8_t checkByte, std::uint32_t fillerSeed);

    void encrypt(Bytes& data);

private:
    common::ZipKeys keys_;
};

}  // namespace mkpackage
