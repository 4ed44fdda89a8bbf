#include "zip_crypto.h"

#include <zlib.h>

#include <random>

namespace mkpackage {

namespace {

std::uint32_t crcStep(std::uint32_t crc, std::uint8_t byte) {
  static const z_crc_t* const table = get_crc_table();
  return table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
}

}  // namespace

ZipEncryptor::ZipEncryptor(const std::string& password)
    : keys_{0x12345678u, 0x23456789u, 0x34567890u} {
  for (char c : password) updateKeys(static_cast<std::uint8_t>(c));
}

void ZipEncryptor::updateKeys(std::uint8_t plain) {
  keys_[0] = crcStep(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFFu)) * 134775813u + 1u;
  keys_[2] = crcStep(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

std::uint8_t ZipEncryptor::encryptByte(std::uint8_t plain) {
  const std::uint32_t t = (keys_[2] | 2u) & 0xFFFFu;
  const auto cipher = static_cast<std::uint8_t>(plain ^ (((t * (t ^ 1u)) >> 8) & 0xFFu));
  updateKeys(plain);
  return cipher;
}

Bytes ZipEncryptor::header(std::uint8_t checkByte, std::uint32_t fillerSeed) {
  std::mt19937 filler(fillerSeed);
  Bytes out(12);
  for (int i = 0; i < 11; ++i) out[i] = encryptByte(static_cast<std::uint8_t>(filler()));
  out[11] = encryptByte(checkByte);
  return out;
}

void ZipEncryptor::encrypt(Bytes& data) {
  for (auto& b : data) b = encryptByte(b);
}

}  // namespace mkpackage
