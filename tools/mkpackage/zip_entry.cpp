#include "tools/mkpackage/zip_entry.h"

#include <zlib.h>

#include <limits>

#include "tools/mkpackage/error.h"
#include "tools/mkpackage/zip_crypto.h"

namespace mkpackage {

namespace {

class DeflateStream {
public:
    explicit DeflateStream(int level)
    {
        if (deflateInit2(&z_, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw Error("zlib refused to start a Deflate stream");
    }
    ~DeflateStream() { deflateEnd(&z_); }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    z_stream* get() { return &z_; }

private:
    z_stream z_{};
};

void damageDeflate(Bytes& stream, DeflateDamage damage)
{
    if (damage == DeflateDamage::None)
        return;
    if (stream.empty())
        throw Error("an empty Deflate stream cannot be damaged");
    switch (damage) {
    case DeflateDamage::InvalidBlockType:
        stream[0] |= 0x06;
        break;
    case DeflateDamage::FlippedByte:
        stream[stream.size() / 2] ^= 0xFF;
        break;
    case DeflateDamage::Truncated:
        stream.resize(stream.size() / 2 > 0 ? stream.size() / 2 : 1);
        break;
    case DeflateDamage::None:
        break;
    }
}

std::uint32_t checked32(std::size_t size, const char* what)
{
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw Error(std::string(what) + " exceeds 4 GiB, which a ZIP local header cannot hold");
    return static_cast<std::uint32_t>(size);
}

}  // namespace

Bytes deflateRaw(const Bytes& data, int level)
{
    DeflateStream stream(level);
    z_stream* z = stream.get();
    Bytes out(deflateBound(z, static_cast<uLong>(data.size())));
    z->next_in = const_cast<Bytef*>(data.data());
    z->avail_in = static_cast<uInt>(data.size());
    z->next_out = out.data();
    z->avail_out = static_cast<uInt>(out.size());
    if (deflate(z, Z_FINISH) != Z_STREAM_END)
        throw Error("zlib could not compress an entry");
    out.resize(z->total_out);
    return out;
}

std::uint32_t crc32Of(const Bytes& data)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most uInt bytes per call.
    constexpr std::size_t kStep = 1u << 30;
    for (std::size_t at = 0; at < data.size(); at += kStep) {
        const std::size_t n = data.size() - at < kStep ? data.size() - at : kStep;
        crc = crc32(crc, data.data() + at, static_cast<uInt>(n));
    }
    return static_cast<std::uint32_t>(crc);
}

Bytes encodeEntry(const EntryPlan& entry)
{
    if (entry.name.size() > 0xFFFF)
        throw Error("entry name longer than 65,535 bytes: " + entry.name);
    const std::uint32_t size = checked32(entry.data.size(), "entry");
    const std::uint32_t crc = crc32Of(entry.data);

    Bytes payload = entry.method == Method::Deflate ? deflateRaw(entry.data, entry.level) : entry.data;
    if (entry.method == Method::Deflate)
        damageDeflate(payload, entry.damage.deflate);

    std::uint16_t flags = entry.extraFlags & ~(common::kEntryEncrypted | common::kCheckByteFromTime);
    if (entry.checkByteFromTime)
        flags |= common::kCheckByteFromTime;
    if (!entry.password.empty()) {
        flags |= common::kEntryEncrypted;
        const std::uint8_t checkByte = common::encryptionCheckByte(flags, entry.modified.time, crc);
        ZipEncryptor encryptor(entry.password);
        Bytes sealed = encryptor.header(checkByte, entry.fillerSeed);
        encryptor.encrypt(payload);
        putBytes(sealed, payload);
        payload = std::move(sealed);
    }

    const std::uint32_t storedCrc = entry.damage.wrongCrc ? crc ^ 1u : crc;
    const std::uint32_t compressedSize = checked32(payload.size(), "compressed entry");

    Bytes out;
    out.reserve(common::kLocalEntryHeaderSize + entry.name.size() + payload.size() + 16);
    putU32(out, entry.damage.signature);
    putU16(out, entry.method == Method::Deflate ? 20 : 10);
    putU16(out, flags);
    putU16(out, entry.damage.methodField.value_or(static_cast<std::uint16_t>(entry.method)));
    putU16(out, entry.modified.time);
    putU16(out, entry.modified.date);
    putU32(out, storedCrc);
    putU32(out, entry.damage.compressedSizeField.value_or(compressedSize));
    putU32(out, size);
    putU16(out, static_cast<std::uint16_t>(entry.name.size()));
    putU16(out, entry.damage.extraLengthField.value_or(0));
    putText(out, entry.name);
    putBytes(out, payload);
    if (entry.dataDescriptor) {
        putU32(out, common::kDataDescriptorSignature);
        putU32(out, storedCrc);
        putU32(out, compressedSize);
        putU32(out, size);
    }
    return out;
}

Bytes zipEndRecord(const std::string& comment)
{
    if (comment.size() > 0xFFFF)
        throw Error("ZIP comment longer than 65,535 bytes");
    Bytes out;
    putU32(out, common::kEndRecordSignature);
    putU16(out, 0);  // number of this disk
    putU16(out, 0);  // disk with the central directory
    putU16(out, 0);  // entries on this disk
    putU16(out, 0);  // entries in all
    putU32(out, 0);  // size of the central directory
    putU32(out, 0);  // its offset
    putU16(out, static_cast<std::uint16_t>(comment.size()));
    putText(out, comment);
    return out;
}

}  // namespace mkpackage
