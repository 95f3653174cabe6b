// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The memory of decoded pictures. A unit of 16 animations holds about 2,000 pictures of
// 57.6 KB; giving each its own allocation makes the first touch of every 4 KB page a fault
// of its own, which costs more than the decoding. FrameAllocator instead hands out the
// pictures of one animation from a few large blocks, mapped with transparent huge pages
// where the system has them, and leaves their bytes unwritten for the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qv {

// A block of memory shared by the pictures carved out of it; freed with the last one.
class FrameBlock;

// One picture: a run of bytes that it owns alone (copying copies the bytes), usually a
// slice of a shared block. Behaves as a fixed-size byte array.
class FramePixels {
public:
    using value_type = uint8_t;
    using iterator = uint8_t*;
    using const_iterator = const uint8_t*;

    FramePixels() = default;
    // `size` bytes, all 0.
    explicit FramePixels(size_t size);
    // A copy of `bytes`.
    FramePixels(const std::vector<uint8_t>& bytes);  // NOLINT: converts like the byte vector it replaces
    FramePixels(std::initializer_list<uint8_t> bytes);
    FramePixels(const FramePixels& other);
    FramePixels(FramePixels&& other) noexcept;
    FramePixels& operator=(const FramePixels& other);
    FramePixels& operator=(FramePixels&& other) noexcept;
    ~FramePixels();

    uint8_t* data() { return data_; }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    uint8_t* begin() { return data_; }
    uint8_t* end() { return data_ + size_; }
    const uint8_t* begin() const { return data_; }
    const uint8_t* end() const { return data_ + size_; }
    uint8_t& operator[](size_t i) { return data_[i]; }
    const uint8_t& operator[](size_t i) const { return data_[i]; }
    std::vector<uint8_t> toVector() const { return std::vector<uint8_t>(begin(), end()); }

    friend bool operator==(const FramePixels& a, const FramePixels& b);
    friend bool operator!=(const FramePixels& a, const FramePixels& b) { return !(a == b); }

private:
    friend class FrameAllocator;
    FramePixels(std::shared_ptr<FrameBlock> block, uint8_t* data, size_t size)
        : block_(std::move(block)), data_(data), size_(size)
    {
    }
    void copyFrom(const uint8_t* bytes, size_t size);

    std::shared_ptr<FrameBlock> block_;
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// Comparisons with the byte vectors pictures are built from elsewhere (encoder input).
bool operator==(const FramePixels& a, const std::vector<uint8_t>& b);
inline bool operator==(const std::vector<uint8_t>& a, const FramePixels& b) { return b == a; }
bool operator==(const std::vector<FramePixels>& a, const std::vector<std::vector<uint8_t>>& b);
inline bool operator==(const std::vector<std::vector<uint8_t>>& a, const std::vector<FramePixels>& b) { return b == a; }
// The pictures as byte vectors, the encoder's input.
std::vector<std::vector<uint8_t>> toByteVectors(const std::vector<FramePixels>& pictures);

// Hands out pictures of `pictureSize` bytes, `expected` of them in the first block and as
// many again in each further one (within a bound per block), so a file whose header
// promises more pictures than it holds does not take memory for the missing ones. The
// bytes of a new picture are unspecified: the caller writes every one. Throws
// std::bad_alloc when the memory cannot be had, like any allocation.
class FrameAllocator {
public:
    FrameAllocator(size_t pictureSize, size_t expected);
    FramePixels next();

private:
    size_t pictureSize_;
    size_t perBlock_;
    std::shared_ptr<FrameBlock> block_;
    size_t used_ = 0;  // pictures handed out of block_
};

// Whether blocks of 2 MB or more are mapped on their own in huge pages (the default) or
// taken from the heap like smaller ones. Mapped blocks go back to the system when freed,
// so a program that reads one animation after another (a batch of quorvane-cli) takes them
// from the heap instead, where its allocator keeps freed memory for the next input.
void setFrameBlocksMapped(bool mapped);

// For tests: asked with the byte count before each block is allocated; returning true
// makes the allocation fail as if memory had run out. nullptr removes the hook.
void setFrameAllocationFaultHook(std::function<bool(size_t bytes)> hook);

}  // namespace qv
