#include "support/ByteBuffer.h"

#include "support/ShortString.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace varnok {

void ByteReader::Check(std::size_t offset, std::size_t size) const {
    if (offset > bytes_.size() || size > bytes_.size() - offset) {
        throw std::out_of_range("record read outside its bytes at offset " +
                                std::to_string(offset));
    }
}

std::uint8_t ByteReader::U8(std::size_t offset) const {
    Check(offset, 1);
    return bytes_[offset];
}

std::int8_t ByteReader::I8(std::size_t offset) const {
    return static_cast<std::int8_t>(U8(offset));
}

std::uint16_t ByteReader::U16(std::size_t offset) const {
    Check(offset, 2);
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::int16_t ByteReader::I16(std::size_t offset) const {
    return static_cast<std::int16_t>(U16(offset));
}

std::uint32_t ByteReader::U32(std::size_t offset) const {
    Check(offset, 4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes_[offset + static_cast<std::size_t>(i)];
    }
    return value;
}

std::int32_t ByteReader::I32(std::size_t offset) const {
    return static_cast<std::int32_t>(U32(offset));
}

float ByteReader::F32(std::size_t offset) const {
    return std::bit_cast<float>(U32(offset));
}

double ByteReader::F64(std::size_t offset) const {
    Check(offset, 8);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | bytes_[offset + static_cast<std::size_t>(i)];
    }
    return std::bit_cast<double>(value);
}

std::string ByteReader::ShortStringBytes(std::size_t offset, std::size_t capacity) const {
    Check(offset, capacity + 1);
    const std::size_t length = std::min<std::size_t>(bytes_[offset], capacity);
    const auto* first = reinterpret_cast<const char*>(bytes_.data() + offset + 1);
    return std::string(first, length);
}

std::string ByteReader::ShortString(std::size_t offset, std::size_t capacity) const {
    return Windows1252ToUtf8(ShortStringBytes(offset, capacity));
}

ByteReader ByteReader::Sub(std::size_t offset, std::size_t size) const {
    Check(offset, size);
    return ByteReader(bytes_.subspan(offset, size));
}

void ByteWriter::Check(std::size_t offset, std::size_t size) const {
    if (offset > bytes_.size() || size > bytes_.size() - offset) {
        throw std::out_of_range("record written outside its bytes at offset " +
                                std::to_string(offset));
    }
}

void ByteWriter::U8(std::size_t offset, std::uint8_t value) {
    Check(offset, 1);
    bytes_[offset] = value;
}

void ByteWriter::I8(std::size_t offset, std::int8_t value) {
    U8(offset, static_cast<std::uint8_t>(value));
}

void ByteWriter::U16(std::size_t offset, std::uint16_t value) {
    Check(offset, 2);
    bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void ByteWriter::I16(std::size_t offset, std::int16_t value) {
    U16(offset, static_cast<std::uint16_t>(value));
}

void ByteWriter::U32(std::size_t offset, std::uint32_t value) {
    Check(offset, 4);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

void ByteWriter::I32(std::size_t offset, std::int32_t value) {
    U32(offset, static_cast<std::uint32_t>(value));
}

void ByteWriter::F32(std::size_t offset, float value) {
    U32(offset, std::bit_cast<std::uint32_t>(value));
}

void ByteWriter::F64(std::size_t offset, double value) {
    Check(offset, 8);
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < 8; ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF);
    }
}

void ByteWriter::ShortStringBytes(std::size_t offset, std::size_t capacity,
                                  std::string_view bytes) {
    Check(offset, capacity + 1);
    const std::size_t length = std::min(bytes.size(), capacity);
    bytes_[offset] = static_cast<std::uint8_t>(length);
    std::copy_n(bytes.begin(), length, bytes_.begin() + static_cast<std::ptrdiff_t>(offset) + 1);
}

void ByteWriter::ShortString(std::size_t offset, std::size_t capacity, std::string_view utf8) {
    ShortStringBytes(offset, capacity, Utf8ToWindows1252OrThrow(utf8));
}

void ByteWriter::Bytes(std::size_t offset, std::span<const std::uint8_t> bytes) {
    Check(offset, bytes.size());
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace varnok
