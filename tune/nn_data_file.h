#pragma once
// The neural evaluation's data files: a header (magic, format version, record size) and then
// fixed-size records (tune/nn_record.h), nothing else; docs/nn-data.md describes the bytes.
// A file only ever grows by whole games, so a partial record at its end means that a write was
// cut short, and the reader refuses it rather than guess.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "tune/nn_record.h"

namespace vek::engine::tune {

inline constexpr std::uint16_t kDataVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;

// Reads a data file's records in order. Every fault throws DataError naming the file, the byte
// offset and, past the header, the record.
class DataReader {
public:
    // Checks the header and that whole records follow it.
    DataReader(std::istream& in, std::string name);

    std::uint64_t records() const { return records_; }
    // The next record, or none after the last.
    std::optional<DataRecord> next();

private:
    std::istream& in_;
    const std::string name_;
    std::uint64_t records_ = 0;
    std::uint64_t read_ = 0;
};

// Appends games to a data file: writes the header to a new or empty file, else checks the one
// there as DataReader does (and touches nothing when it is wrong).
class DataWriter {
public:
    explicit DataWriter(const std::filesystem::path& path);

    // The records the file held when it was opened.
    std::uint64_t existing() const { return existing_; }
    // Writes the records at once and flushes them; throws std::runtime_error when that fails.
    void append(const std::vector<DataRecord>& records);

private:
    const std::string name_;
    std::ofstream out_;
    std::uint64_t existing_ = 0;
};

}  // namespace vek::engine::tune
