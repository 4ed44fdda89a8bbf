#include "tools/mkpackage/zip_crypto.h"

#include <random>

namespace mkpackage {

ZipEncryptor::ZipEncryptor(const std::string& password)
    : keys_(common::zipKeysForPassword(password.data(), password.size()))
{
}

Bytes ZipEncryptor::header(std::uint8_t checkByte, std::uint32_t fillerSeed)
{
    std::mt19937 filler(fillerSeed);
    Bytes out(common::kEncryptionHeaderSize);
    for (int i = 0; i < common::kEncryptionHeaderSize - 1; ++i)
        out[i] = static_cast<std::uint8_t>(filler());
    out[common::kEncryptionHeaderSize - 1] = checkByte;
    encrypt(out);
    return out;
}

void ZipEncryptor::encrypt(Bytes& data)
{
    common::encryptZipBuffer(keys_, data.data(), data.size());
}

}  // namespace mkpackage
