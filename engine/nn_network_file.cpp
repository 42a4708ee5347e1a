#include "engine/nn_network_file.h"

#include <bit>
#include <cstring>
#include <iterator>

#include "engine/little_endian.h"

namespace vek::engine {
namespace {

constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kHiddenAt = 10;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kChecksumBytes = 8;

constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325u;
constexpr std::uint64_t kFnvPrime = 0x100000001B3u;

std::string hex(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "0x";
    for (int shift = 60; shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 0xF];
    return text;
}

NetworkError fault(const std::string& name, const std::string& what) { return NetworkError(name + ": " + what); }

}  // namespace

std::uint64_t checksumOf(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = kFnvOffset;
    for (const std::uint8_t byte : bytes)
        hash = (hash ^ byte) * kFnvPrime;
    return hash;
}

void ByteWriter::put16(std::int16_t value) {
    bytes_.resize(bytes_.size() + 2);
    putLittleEndian(bytes_, bytes_.size() - 2, static_cast<std::uint16_t>(value));
}

void ByteWriter::put32(std::uint32_t value) {
    bytes_.resize(bytes_.size() + 4);
    putLittleEndian(bytes_, bytes_.size() - 4, value);
}

void ByteWriter::putFloat(float value) { put32(std::bit_cast<std::uint32_t>(value)); }

std::int16_t ByteReader::get16() {
    const auto value = getLittleEndian<std::uint16_t>(bytes_, at_);
    at_ += 2;
    return static_cast<std::int16_t>(value);
}

std::uint32_t ByteReader::get32() {
    const auto value = getLittleEndian<std::uint32_t>(bytes_, at_);
    at_ += 4;
    return value;
}

float ByteReader::getFloat() { return std::bit_cast<float>(get32()); }

std::uint64_t writeNetworkFile(std::ostream& out, const NetworkFileKind& kind, int hidden,
                               std::span<const std::uint8_t> body) {
    std::vector<std::uint8_t> bytes(kHeaderBytes);
    std::memcpy(bytes.data(), kind.magic.data(), kind.magic.size());
    putLittleEndian(bytes, kVersionAt, kind.version);
    putLittleEndian(bytes, kHiddenAt, static_cast<std::uint16_t>(hidden));
    bytes.insert(bytes.end(), body.begin(), body.end());
    const std::uint64_t checksum = checksumOf(bytes);
    bytes.resize(bytes.size() + kChecksumBytes);
    putLittleEndian(bytes, bytes.size() - kChecksumBytes, checksum);
    if (!out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())) ||
        !out.flush())
        throw std::runtime_error(std::string("cannot write the ") + kind.what);
    return checksum;
}

NetworkFileBody readNetworkFile(std::istream& in, const std::string& name, const NetworkFileKind& kind) {
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string magic(kind.magic.data(), kind.magic.size());
    if (bytes.size() < kHeaderBytes)
        throw fault(name, std::to_string(bytes.size()) + " bytes, shorter than the 12-byte header of a " + kind.what);
    if (std::memcmp(bytes.data(), kind.magic.data(), kind.magic.size()) != 0)
        throw fault(name, "byte 0: no " + magic + " magic, not a " + kind.what);
    const auto version = getLittleEndian<std::uint16_t>(bytes, kVersionAt);
    if (version != kind.version)
        throw fault(name, "byte 8: version " + std::to_string(version) + ", this program reads version " +
                              std::to_string(kind.version));
    const int hidden = getLittleEndian<std::uint16_t>(bytes, kHiddenAt);
    if (hidden < 1 || hidden > kMostHidden)
        throw fault(name, "byte 10: hidden size " + std::to_string(hidden) + ", not 1 to " +
                              std::to_string(kMostHidden));
    const std::size_t expected = kHeaderBytes + kind.bodyBytes(hidden) + kChecksumBytes;
    if (bytes.size() != expected)
        throw fault(name, std::to_string(bytes.size()) + " bytes, a " + kind.what + " of hidden size " +
                              std::to_string(hidden) + " has " + std::to_string(expected) +
                              (bytes.size() < expected ? " (cut short?)" : ""));
    const std::size_t checksumAt = expected - kChecksumBytes;
    const auto stored = getLittleEndian<std::uint64_t>(bytes, checksumAt);
    const std::uint64_t actual = checksumOf(std::span(bytes).first(checksumAt));
    if (stored != actual)
        throw fault(name, "checksum " + hex(stored) + " at byte " + std::to_string(checksumAt) +
                              ", the content's is " + hex(actual) + ": the file is damaged");
    return {hidden, std::vector<std::uint8_t>(bytes.begin() + kHeaderBytes, bytes.begin() + checksumAt)};
}

}  // namespace vek::engine
