#include "tune/nn_data_file.h"

#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "engine/little_endian.h"

namespace vek::engine::tune {
namespace {

constexpr std::array<char, 8> kMagic{'V', 'E', 'K', 'N', 'N', 'P', 'O', 'S'};
constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kRecordSizeAt = 10;

using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

HeaderBytes header() {
    HeaderBytes bytes{};
    std::memcpy(bytes.data(), kMagic.data(), kMagic.size());
    putLittleEndian(bytes, kVersionAt, kDataVersion);
    putLittleEndian(bytes, kRecordSizeAt, static_cast<std::uint16_t>(kRecordSize));
    return bytes;
}

std::string at(const std::string& name, std::uint64_t offset) { return name + ": byte " + std::to_string(offset); }

std::uint64_t offsetOf(std::uint64_t record) { return kHeaderSize + record * kRecordSize; }

std::string atRecord(const std::string& name, std::uint64_t record) {
    return at(name, offsetOf(record)) + " (record " + std::to_string(record) + ")";
}

// The stream's length in bytes; leaves the stream at its start.
std::uint64_t lengthOf(std::istream& in, const std::string& name) {
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    in.seekg(0, std::ios::beg);
    if (length < 0 || !in)
        throw DataError(name + ": cannot measure its length");
    return static_cast<std::uint64_t>(length);
}

// The records after a header that `in` holds; throws when the header or the length is wrong.
std::uint64_t checkHeader(std::istream& in, const std::string& name) {
    const std::uint64_t length = lengthOf(in, name);
    if (length < kHeaderSize)
        throw DataError(name + ": " + std::to_string(length) + " bytes, shorter than the " +
                        std::to_string(kHeaderSize) + "-byte header");
    HeaderBytes bytes{};
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw DataError(at(name, 0) + ": cannot read the header");
    if (std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
        throw DataError(at(name, 0) + ": no VEKNNPOS magic, not a data file of nn-datagen");
    const auto version = getLittleEndian<std::uint16_t>(bytes, kVersionAt);
    if (version != kDataVersion)
        throw DataError(at(name, kVersionAt) + ": format version " + std::to_string(version) +
                        ", this program reads version " + std::to_string(kDataVersion));
    const auto recordSize = getLittleEndian<std::uint16_t>(bytes, kRecordSizeAt);
    if (recordSize != kRecordSize)
        throw DataError(at(name, kRecordSizeAt) + ": record size " + std::to_string(recordSize) + ", version " +
                        std::to_string(kDataVersion) + " has " + std::to_string(kRecordSize));
    const std::uint64_t records = (length - kHeaderSize) / kRecordSize;
    const std::uint64_t partial = (length - kHeaderSize) % kRecordSize;
    if (partial != 0)
        throw DataError(atRecord(name, records) + ": the last record has only " + std::to_string(partial) + " of " +
                        std::to_string(kRecordSize) + " bytes (a cut-short write); the " + std::to_string(records) +
                        " whole records end at byte " + std::to_string(offsetOf(records)));
    return records;
}

}  // namespace

DataReader::DataReader(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {
    records_ = checkHeader(in_, name_);
}

std::optional<DataRecord> DataReader::next() {
    if (read_ == records_)
        return std::nullopt;
    RecordBytes bytes{};
    if (!in_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw DataError(atRecord(name_, read_) + ": cannot read the record");
    return decode(bytes, atRecord(name_, read_++));
}

DataWriter::DataWriter(const std::filesystem::path& path) : name_(path.string()) {
    std::ifstream in(path, std::ios::binary);
    const bool empty = !in || lengthOf(in, name_) == 0;  // a file that cannot be read fails to open below
    if (!empty)
        existing_ = checkHeader(in, name_);
    out_.open(path, std::ios::binary | std::ios::app);
    if (!out_)
        throw std::runtime_error(name_ + ": cannot open to append");
    if (empty) {
        const HeaderBytes bytes = header();
        out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out_.flush())
            throw std::runtime_error(name_ + ": cannot write the header");
    }
}

void DataWriter::append(const std::vector<DataRecord>& records) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const DataRecord& record : records) {
        const RecordBytes one = encode(record);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out_.flush())
        throw std::runtime_error(name_ + ": cannot append " + std::to_string(records.size()) + " records");
}

}  // namespace vek::engine::tune
