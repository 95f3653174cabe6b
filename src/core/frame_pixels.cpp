// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/frame_pixels.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qv {

namespace {

std::atomic<bool> g_mapBlocks{true};
std::mutex g_hookMutex;
std::function<bool(size_t)> g_faultHook;

bool faultInjected(size_t bytes)
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    return g_faultHook && g_faultHook(bytes);
}

// Blocks from this size on are mapped on their own, aligned to and in whole huge pages;
// smaller ones come from the heap.
constexpr size_t kHugePage = size_t(2) << 20;
// Most pictures one block holds: a damaged or hostile header cannot make a block larger.
constexpr size_t kMaxBlockBytes = size_t(32) << 20;

}  // namespace

class FrameBlock {
public:
    explicit FrameBlock(size_t bytes)
    {
        if (bytes == 0) return;
        if (faultInjected(bytes)) throw std::bad_alloc();
#if defined(__linux__)
        if (bytes >= kHugePage && g_mapBlocks.load(std::memory_order_relaxed)) {
            // Mapped a huge page larger, then trimmed to start on a huge-page boundary, so
            // the kernel can back its whole huge pages with 2 MB pages: one fault each
            // instead of 512. The rest, less than a huge page, keeps small pages rather
            // than taking memory it would not use.
            const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
            const size_t length = (bytes + page - 1) / page * page;
            const size_t reserved = length + kHugePage;
            void* p = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p == MAP_FAILED) throw std::bad_alloc();
            const auto start = reinterpret_cast<uintptr_t>(p);
            const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
            if (aligned > start) munmap(p, aligned - start);
            const size_t tail = start + reserved - (aligned + length);
            if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
            // Advice only: the system may refuse it, and the memory works either way.
            madvise(reinterpret_cast<void*>(aligned), length / kHugePage * kHugePage, MADV_HUGEPAGE);
            data_ = reinterpret_cast<uint8_t*>(aligned);
            mapped_ = length;
            return;
        }
#endif
        data_ = new uint8_t[bytes];  // left unwritten: the owner fills it
    }
    ~FrameBlock()
    {
#if defined(__linux__)
        if (mapped_) {
            munmap(data_, mapped_);
            return;
        }
#endif
        delete[] data_;
    }
    FrameBlock(const FrameBlock&) = delete;
    FrameBlock& operator=(const FrameBlock&) = delete;

    uint8_t* data() const
    {
        return data_;
    }

private:
    uint8_t* data_ = nullptr;
    size_t mapped_ = 0;  // bytes mapped, 0 for heap memory
};

FramePixels::FramePixels(size_t size)
{
    copyFrom(nullptr, size);
    if (size_ > 0) std::memset(data_, 0, size_);
}

FramePixels::FramePixels(const std::vector<uint8_t>& bytes)
{
    copyFrom(bytes.data(), bytes.size());
}

FramePixels::FramePixels(std::initializer_list<uint8_t> bytes)
{
    copyFrom(bytes.begin(), bytes.size());
}

FramePixels::FramePixels(const FramePixels& other)
{
    copyFrom(other.data_, other.size_);
}

FramePixels::FramePixels(FramePixels&& other) noexcept
    : block_(std::move(other.block_)), data_(other.data_), size_(other.size_)
{
    other.data_ = nullptr;
    other.size_ = 0;
}

FramePixels& FramePixels::operator=(const FramePixels& other)
{
    if (this != &other) *this = FramePixels(other);
    return *this;
}

FramePixels& FramePixels::operator=(FramePixels&& other) noexcept
{
    if (this != &other) {
        block_ = std::move(other.block_);
        data_ = other.data_;
        size_ = other.size_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

FramePixels::~FramePixels() = default;

void FramePixels::copyFrom(const uint8_t* bytes, size_t size)
{
    block_.reset();
    data_ = nullptr;
    size_ = 0;
    if (size == 0) return;
    block_ = std::make_shared<FrameBlock>(size);
    data_ = block_->data();
    size_ = size;
    if (bytes) std::memcpy(data_, bytes, size);
}

bool operator==(const FramePixels& a, const FramePixels& b)
{
    return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data_, b.data_, a.size_) == 0);
}

bool operator==(const FramePixels& a, const std::vector<uint8_t>& b)
{
    return a.size() == b.size() && (b.empty() || std::memcmp(a.data(), b.data(), b.size()) == 0);
}

bool operator==(const std::vector<FramePixels>& a, const std::vector<std::vector<uint8_t>>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const FramePixels& x, const std::vector<uint8_t>& y) { return x == y; });
}

std::vector<std::vector<uint8_t>> toByteVectors(const std::vector<FramePixels>& pictures)
{
    std::vector<std::vector<uint8_t>> out;
    out.reserve(pictures.size());
    for (const FramePixels& p : pictures) out.push_back(p.toVector());
    return out;
}

FrameAllocator::FrameAllocator(size_t pictureSize, size_t expected)
    : pictureSize_(pictureSize),
      perBlock_(std::max<size_t>(1, std::min(expected, kMaxBlockBytes / std::max<size_t>(1, pictureSize))))
{
}

FramePixels FrameAllocator::next()
{
    if (pictureSize_ == 0) return FramePixels();
    if (!block_ || used_ == perBlock_) {
        block_ = std::make_shared<FrameBlock>(perBlock_ * pictureSize_);
        used_ = 0;
    }
    return FramePixels(block_, block_->data() + pictureSize_ * used_++, pictureSize_);
}

void setFrameBlocksMapped(bool mapped)
{
    g_mapBlocks.store(mapped, std::memory_order_relaxed);
}

void setFrameAllocationFaultHook(std::function<bool(size_t bytes)> hook)
{
    std::lock_guard<std::mutex> lock(g_hookMutex);
    g_faultHook = std::move(hook);
}

}  // namespace qv
