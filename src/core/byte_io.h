// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Little-endian reading and writing over byte buffers, independent of the host's
// byte order. Every file format of the program goes through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qv {

using Bytes = std::vector<uint8_t>;

inline uint16_t getLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t getLE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void putLE16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void putLE32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// A bounds-checked cursor over a read-only buffer. Reads past the end return 0 and
// set the `overrun` flag instead of touching memory outside the buffer.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const Bytes& b) : data_(b.data()), size_(b.size()) {}

    size_t pos() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    bool overrun() const { return overrun_; }
    bool atEnd() const { return pos_ >= size_; }
    const uint8_t* data() const { return data_; }
    const uint8_t* here() const { return data_ + (pos_ < size_ ? pos_ : size_); }

    // Moves to an absolute position; a position past the end is clamped and flagged.
    void seek(size_t p)
    {
        if (p > size_) {
            overrun_ = true;
            p = size_;
        }
        pos_ = p;
    }
    void skip(size_t n) { seek(n > size_ - (pos_ < size_ ? pos_ : size_) ? size_ + 1 : pos_ + n); }
    bool has(size_t n) const { return remaining() >= n; }

    uint8_t u8()
    {
        if (!has(1)) return fail<uint8_t>(1);
        return data_[pos_++];
    }
    int8_t s8() { return static_cast<int8_t>(u8()); }
    uint16_t u16()
    {
        if (!has(2)) return fail<uint16_t>(2);
        uint16_t v = getLE16(data_ + pos_);
        pos_ += 2;
        return v;
    }
    int16_t s16() { return static_cast<int16_t>(u16()); }
    uint32_t u32()
    {
        if (!has(4)) return fail<uint32_t>(4);
        uint32_t v = getLE32(data_ + pos_);
        pos_ += 4;
        return v;
    }
    // Copies n bytes out; false (and nothing copied) when fewer remain.
    bool read(void* out, size_t n)
    {
        if (!has(n)) {
            fail<int>(n);
            return false;
        }
        std::memcpy(out, data_ + pos_, n);
        pos_ += n;
        return true;
    }

private:
    template <typename T>
    T fail(size_t)
    {
        overrun_ = true;
        pos_ = size_;
        return T{};
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool overrun_ = false;
};

// Appends little-endian values to a growing buffer.
class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : out_(out) {}
    size_t pos() const { return out_.size(); }
    void u8(uint8_t v) { out_.push_back(v); }
    void u16(uint16_t v)
    {
        out_.push_back(static_cast<uint8_t>(v));
        out_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v)
    {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void zeros(size_t n) { out_.insert(out_.end(), n, 0); }
    void patch16(size_t at, uint16_t v) { putLE16(out_.data() + at, v); }
    void patch32(size_t at, uint32_t v) { putLE32(out_.data() + at, v); }

private:
    Bytes& out_;
};

}  // namespace qv
