#pragma once
// Traditional PKWARE encryption (the weak "ZipCrypto" of the ZIP application note).

#include <cstdint>
#include <string>

#include "byte_writer.h"

namespace mkpackage {

class ZipEncryptor {
 public:
  explicit ZipEncryptor(const std::string& password);

  // Returns the 12-byte encryption header: eleven filler bytes from `fillerSeed` and the
  // check byte that lets a reader recognise the password.
  Bytes header(std::uint8_t checkByte, std::uint32_t fillerSeed);

  void encrypt(Bytes& data);

 private:
  std::uint8_t encryptByte(std::uint8_t plain);
  void updateKeys(std::uint8_t plain);

  std::uint32_t keys_[3];
};

}  // namespace mkpackage
