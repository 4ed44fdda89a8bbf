#pragma once
// Hand-built package bytes for tests that need no generator: the padded
// image, the header with its scrambled texts, and ZIP local entries.
#include <zlib.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "common/package_format/package_text.h"
#include "common/package_format/zip_crypto.h"

namespace setup::testing {

inline void putLe16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
inline void putLe32(std::string& out, uint32_t value) {
  putLe16(out, value & 0xFFFF);
  putLe16(out, value >> 16);
}

// Stands in for the setup image: exactly as long as the real one.
inline std::string imagePadding() { return std::string(35328, '\x7F'); }

struct HeaderFields {
  std::string magic = "MRI";
  uint8_t keepWindowOpen = 0;
  uint8_t adminOnly = 1;
  uint8_t hideInfoButton = 1;
  uint8_t multiVolume = 0;
  uint8_t advancedInf = 1;
  uint32_t totalSize = 0;
  std::string productName = "KARVELO";
  std::string infName = "KARV10G1.INF";
  std::string notice = "Shareware - bitte weitergeben.";  // plain Windows-1252
  std::string welcomeText;
  std::string licenceText;
  // Stored instead of the real lengths when set (for malformed headers).
  std::optional<int32_t> welcomeLengthField;
  std::optional<int32_t> licenceLengthField;
};

inline std::string scrambled(std::string text) {
  common::scrambleText(text.data(), text.size());
  return text;
}

// The 23 fixed bytes followed by the variable part.
inline std::string headerBytes(const HeaderFields& fields) {
  std::string out = fields.magic.substr(0, 3);
  out += static_cast<char>(fields.keepWindowOpen);
  out += static_cast<char>(fields.productName.size());
  out += static_cast<char>(fields.infName.size());
  out += static_cast<char>(fields.adminOnly);
  out += static_cast<char>(fields.notice.size());
  putLe32(out, static_cast<uint32_t>(fields.welcomeLengthField.value_or(
                   static_cast<int32_t>(fields.welcomeText.size()))));
  putLe32(out, static_cast<uint32_t>(fields.licenceLengthField.value_or(
                   static_cast<int32_t>(fields.licenceText.size()))));
  out += static_cast<char>(fields.hideInfoButton);
  out += static_cast<char>(fields.multiVolume);
  out += static_cast<char>(fields.advancedInf);
  putLe32(out, fields.totalSize);
  out += fields.productName + fields.infName + scrambled(fields.notice) +
         scrambled(fields.welcomeText) + scrambled(fields.licenceText);
  return out;
}

inline std::string rawDeflate(const std::string& data) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&stream, data.size()) + 16, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

inline uint32_t crcOf(const std::string& data) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

struct EntryFields {
  std::string name;
  std::string data;                 // the file's content, before compression
  uint16_t method = 0;              // 0 stored, 8 Deflate, anything else as given
  uint16_t flags = 0;               // bit 0 is set by itself when a password is given
  uint16_t modTime = 0x6000;        // 12:00:00
  uint16_t modDate = 0x5A21;        // 2025-01-01
  std::string password;             // non-empty: traditional encryption
  uint32_t signature = 0x04034B50u;
  std::optional<uint32_t> crcField;             // a wrong CRC, for damage
  std::optional<uint32_t> compressedSizeField;  // a wrong size, for damage
  bool dataDescriptor = false;                  // append a 16-byte descriptor
};

// An entry with everything else at its default (designated initialisers
// would trip -Wmissing-field-initializers).
inline EntryFields entry(std::string name, std::string data) {
  EntryFields fields;
  fields.name = std::move(name);
  fields.data = std::move(data);
  return fields;
}

inline std::string entryBytes(const EntryFields& fields) {
  const uint32_t crc = fields.crcField.value_or(crcOf(fields.data));
  std::string payload = fields.method == 8 ? rawDeflate(fields.data) : fields.data;
  uint16_t flags = fields.flags;
  if (!fields.password.empty()) {
    flags |= 1;
    std::string header = "0123456789A";
    header += static_cast<char>(common::encryptionCheckByte(flags, fields.modTime, crc));
    std::string encrypted = header + payload;
    common::ZipKeys keys =
        common::zipKeysForPassword(fields.password.data(), fields.password.size());
    common::encryptZipBuffer(keys, reinterpret_cast<unsigned char*>(encrypted.data()),
                             encrypted.size());
    payload = encrypted;
  }
  std::string out;
  putLe32(out, fields.signature);
  putLe16(out, 20);
  putLe16(out, flags);
  putLe16(out, fields.method);
  putLe16(out, fields.modTime);
  putLe16(out, fields.modDate);
  putLe32(out, crc);
  putLe32(out, fields.compressedSizeField.value_or(static_cast<uint32_t>(payload.size())));
  putLe32(out, static_cast<uint32_t>(fields.data.size()));
  putLe16(out, static_cast<uint32_t>(fields.name.size()));
  putLe16(out, 0);
  out += fields.name + payload;
  if (fields.dataDescriptor) {
    putLe32(out, 0x08074B50u);
    putLe32(out, crc);
    putLe32(out, static_cast<uint32_t>(payload.size()));
    putLe32(out, static_cast<uint32_t>(fields.data.size()));
  }
  return out;
}

// A ZIP end-of-central-directory record (no entries) with `comment`.
inline std::string endRecord(const std::string& comment) {
  std::string out;
  putLe32(out, 0x06054B50u);
  out += std::string(16, '\0');
  putLe16(out, static_cast<uint32_t>(comment.size()));
  return out + comment;
}

}  // namespace setup::testing
