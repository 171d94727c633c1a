#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// Reads little-endian numbers and short strings at explicit offsets of a byte span. Every
// record of the binary files is decoded through this class, never by casting bytes to structs.
// An offset outside the span throws std::out_of_range: that is a programming error, since
// callers check the record size before decoding. The reader does not own the bytes: they must
// outlive it.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    std::uint8_t U8(std::size_t offset) const;
    std::int8_t I8(std::size_t offset) const;
    std::uint16_t U16(std::size_t offset) const;
    std::int16_t I16(std::size_t offset) const;
    std::uint32_t U32(std::size_t offset) const;
    std::int32_t I32(std::size_t offset) const;
    float F32(std::size_t offset) const;
    double F64(std::size_t offset) const;
    // A short string of the given capacity: a length byte and `capacity` character bytes in
    // Windows-1252, returned as UTF-8. A length byte above the capacity reads as the capacity.
    std::string ShortString(std::size_t offset, std::size_t capacity) const;
    // The raw Windows-1252 bytes of a short string, for codes compared byte for byte.
    std::string ShortStringBytes(std::size_t offset, std::size_t capacity) const;
    ByteReader Sub(std::size_t offset, std::size_t size) const;

private:
    void Check(std::size_t offset, std::size_t size) const;
    std::span<const std::uint8_t> bytes_;
};

// Writes little-endian numbers and short strings at explicit offsets into a zero-filled buffer
// of fixed size. Offsets outside the buffer throw std::out_of_range.
class ByteWriter {
public:
    explicit ByteWriter(std::size_t size) : bytes_(size, 0) {}

    void U8(std::size_t offset, std::uint8_t value);
    void I8(std::size_t offset, std::int8_t value);
    void U16(std::size_t offset, std::uint16_t value);
    void I16(std::size_t offset, std::int16_t value);
    void U32(std::size_t offset, std::uint32_t value);
    void I32(std::size_t offset, std::int32_t value);
    void F32(std::size_t offset, float value);
    void F64(std::size_t offset, double value);
    // Writes UTF-8 text as a Windows-1252 short string, cut to `capacity` characters. Throws
    // VarnokError when the text holds a character that Windows-1252 cannot represent.
    void ShortString(std::size_t offset, std::size_t capacity, std::string_view utf8);
    // Writes bytes that are already Windows-1252, cut to `capacity`.
    void ShortStringBytes(std::size_t offset, std::size_t capacity, std::string_view bytes);
    void Bytes(std::size_t offset, std::span<const std::uint8_t> bytes);

    const std::vector<std::uint8_t>& Data() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void Check(std::size_t offset, std::size_t size) const;
    std::vector<std::uint8_t> bytes_;
};

} // namespace varnok
