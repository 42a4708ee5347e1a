#pragma once
// The frame of the neural evaluation's network files: a 12-byte header (8-byte magic, version,
// hidden size), the arrays little-endian, and an FNV-1a checksum of all bytes before it, so
// that a damaged or cut-short file is refused rather than read as a weaker network.
// docs/nn-train.md lays out the bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vek::engine {

inline constexpr int kMostHidden = 4096;

// A network file is not what its reader expects; the message names the file and what is wrong.
class NetworkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which of the network files: its magic and version, and the size of its arrays.
struct NetworkFileKind {
    std::array<char, 8> magic;
    std::uint16_t version;
    const char* what;                       // names the kind in messages
    std::size_t (*bodyBytes)(int hidden);   // the arrays' bytes for a hidden size
};

std::uint64_t checksumOf(std::span<const std::uint8_t> bytes);

// Appends numbers little-endian.
class ByteWriter {
public:
    void put16(std::int16_t value);
    void put32(std::uint32_t value);
    void putFloat(float value);
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// Takes numbers little-endian from bytes whose size was checked before.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::int16_t get16();
    std::uint32_t get32();
    float getFloat();

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// Header, body and checksum; returns the checksum. Throws std::runtime_error when writing fails.
std::uint64_t writeNetworkFile(std::ostream& out, const NetworkFileKind& kind, int hidden,
                               std::span<const std::uint8_t> body);

struct NetworkFileBody {
    int hidden = 0;
    std::vector<std::uint8_t> body;
};
// Reads a whole file and checks header, length and checksum; throws NetworkError.
NetworkFileBody readNetworkFile(std::istream& in, const std::string& name, const NetworkFileKind& kind);

}  // namespace vek::engine
