// Quorvane — a viewer and editor for Dominara unit and leader-head animations.
// Copyright (C) 2026 The Quorvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Decode speed side by side: the same FLC files decoded by our reader and by FFmpeg's FLIC
// decoder (libavcodec), in one run. Only decoding into 8-bit pictures is timed, for both:
// the files are in memory and split into frame packets beforehand, and nothing is converted.
// Our full load as the view does it (8-bit pictures plus 32-bit surfaces) is timed as well.
//
//   bench_flc_vs_ffmpeg [--time SECONDS] [--only TEXT] [FOLDER...]
//
// --time: seconds spent on each decoder and file (default 1); --only: measure just the files
// whose name contains TEXT.
//
// The files: units and leader heads that our encoder writes at 96 x 72, 150 x 150 and
// 240 x 240, then every .flc file in each FOLDER. The last line is the summary
//   decode speed vs FFmpeg: min ratio R over N files
// where a ratio is our frames per second over FFmpeg's on the same file.
//
// Times are the processor time of the one thread both decoders run in, each measurement the
// best of several rounds with the decoders taking turns, so that a busy machine disturbs
// both alike. The allocator is told to keep freed memory rather than
// hand it back to the system after every pass: otherwise each pass pays again for the page
// faults of fresh memory (on a virtual machine easily more than the decoding itself), which
// a real load pays once and which says nothing about either decoder.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

#include "core/byte_io.h"
#include "core/file_io.h"
#include "core/flc_encoder.h"
#include "core/flc_format.h"
#include "core/flc_reader.h"

namespace {

using Picture = std::vector<uint8_t>;
constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------
// Test animations. Their content is made to look like the game's: a shaded figure over the
// transparent index with a shadow, walking so most of it changes from frame to frame; a
// leader head filling the picture, talking and blinking, now and then swaying.

uint32_t hashMix(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

Picture unitPicture(int w, int h, int direction, int n, int frames)
{
    Picture pic(static_cast<size_t>(w) * h, 255);
    const double phase = 2.0 * kPi * n / frames;
    const double cx = w * 0.5 + std::sin(phase) * w * 0.04 + (direction - 4) * 0.5;
    const double cy = h * 0.45 + std::fabs(std::sin(phase)) * h * 0.03;
    const double rx = w * 0.18, ry = h * 0.32;
    const int base = 16 + direction * 20;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t& p = pic[static_cast<size_t>(y) * w + x];
            // The shadow on the ground.
            const double sx = (x - cx - w * 0.05) / (rx * 1.3), sy = (y - h * 0.82) / (h * 0.07);
            if (sx * sx + sy * sy < 1.0) p = static_cast<uint8_t>(240 + (x + y) % 8);
            // The body, shaded from the upper left, with a cloth pattern.
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            const double d = dx * dx + dy * dy;
            // Two legs and an arm that swing with the step.
            const double swing = std::sin(phase) * w * 0.06;
            const bool leg1 = std::fabs(x - (cx - rx * 0.4 + swing * (y - cy) / h)) < w * 0.035 && y > cy && y < h * 0.84;
            const bool leg2 = std::fabs(x - (cx + rx * 0.4 - swing * (y - cy) / h)) < w * 0.035 && y > cy && y < h * 0.84;
            const bool arm = std::fabs(y - (cy - ry * 0.3 + swing * 0.5 * (x - cx) / w)) < h * 0.025 &&
                             std::fabs(x - cx) < rx * 1.5;
            if (d < 1.0 || leg1 || leg2 || arm) {
                const int shade = static_cast<int>((dx + dy + 2.0) * 3.0);
                const int cloth = static_cast<int>(hashMix(static_cast<uint32_t>(x * 7 + y * 131)) & 3);
                p = static_cast<uint8_t>(base + std::clamp(shade + cloth, 0, 19));
                if (d < 0.05) p = static_cast<uint8_t>(224 + n % 16);  // a light on the armour
            }
        }
    }
    return pic;
}

Picture leaderPicture(int w, int h, int n)
{
    Picture pic(static_cast<size_t>(w) * h);
    const bool swaying = (n / 12) % 3 == 2;
    const double sway = swaying ? std::sin(n * 0.5) * w * 0.02 : 0.0;
    const double cx = w * 0.5 + sway, cy = h * 0.45;
    const bool blink = n % 17 == 0;
    const double mouth = 0.5 + 0.5 * std::sin(n * 1.3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t& p = pic[static_cast<size_t>(y) * w + x];
            p = static_cast<uint8_t>(100 + y * 24 / h + (hashMix(static_cast<uint32_t>(x / 3 + y * 977)) & 1));
            const double dx = (x - cx) / (w * 0.30), dy = (y - cy) / (h * 0.38);
            const double d = dx * dx + dy * dy;
            if (y > h * 0.78 && std::fabs(x - cx) < w * 0.42) {
                p = static_cast<uint8_t>(64 + (hashMix(static_cast<uint32_t>(x + y * 4099)) % 12));  // robe
            } else if (d < 1.0) {
                p = static_cast<uint8_t>(140 + static_cast<int>((dx * 0.5 + dy + 1.5) * 6.0) % 20);  // skin
                const double ex = std::fabs(std::fabs(x - cx) - w * 0.11), ey = y - h * 0.38;
                if (ex < w * 0.04 && std::fabs(ey) < (blink ? 1.0 : h * 0.02)) p = blink ? 150 : 20;  // eyes
                const double my = y - h * 0.60;
                if (std::fabs(x - cx) < w * 0.08 && my > 0 && my < h * 0.05 * mouth + 1) p = 40;  // mouth
            }
        }
    }
    return pic;
}

qv::Palette256 benchPalette()
{
    qv::Palette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = qv::PaletteEntry::fromRgb(static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i),
                                           static_cast<uint8_t>((i * 37) & 255));
    return pal;
}

struct TestFile {
    std::string name;
    qv::Bytes bytes;
};

bool encodeAnimation(const std::string& name, int w, int h, bool leader, std::vector<TestFile>& files)
{
    qv::FlcEncodeParams params;
    params.width = w;
    params.height = h;
    params.directions = leader ? 1 : 8;
    params.framesPerDirection = leader ? 60 : 12;
    params.speed = params.delay = leader ? 80 : 100;
    params.leaderHead = leader;
    std::vector<Picture> frames;
    for (int d = 0; d < params.directions; ++d)
        for (int n = 0; n < params.framesPerDirection; ++n)
            frames.push_back(leader ? leaderPicture(w, h, n) : unitPicture(w, h, d + 1, n, params.framesPerDirection));
    TestFile file{name, {}};
    const qv::Status st = qv::encodeFlc(params, frames, benchPalette(), file.bytes);
    if (!st) {
        std::fprintf(stderr, "cannot encode %s\n", name.c_str());
        return false;
    }
    files.push_back(std::move(file));
    return true;
}

// ---------------------------------------------------------------------------------------
// FFmpeg's FLIC decoder, fed the way its demuxer feeds it: the 128-byte header as extra
// data, then one packet per frame block (16-byte frame header and its chunks).

class FfmpegFlic {
public:
    explicit FfmpegFlic(const qv::Bytes& file)
    {
        header_.assign(file.begin(), file.begin() + std::min(file.size(), qv::kFlcHeaderSize));
        width_ = file.size() >= 12 ? qv::getLE16(file.data() + 8) : 0;
        height_ = file.size() >= 12 ? qv::getLE16(file.data() + 10) : 0;
        size_t pos = qv::kFlcHeaderSize;
        while (pos + 6 <= file.size()) {
            const uint32_t size = qv::getLE32(file.data() + pos);
            const uint16_t type = qv::getLE16(file.data() + pos + 4);
            if (size < 6 || size > file.size() - pos) break;
            if (type == qv::kFrameType) {
                AVPacket* pkt = av_packet_alloc();
                if (av_new_packet(pkt, static_cast<int>(size)) < 0) std::abort();
                std::memcpy(pkt->data, file.data() + pos, size);
                packets_.push_back(pkt);
            }
            pos += size;
        }
    }
    ~FfmpegFlic()
    {
        for (AVPacket* p : packets_) av_packet_free(&p);
    }
    FfmpegFlic(const FfmpegFlic&) = delete;
    FfmpegFlic& operator=(const FfmpegFlic&) = delete;

    size_t packetCount() const { return packets_.size(); }
    int width() const { return width_; }
    int height() const { return height_; }

    // Decodes every frame; `sink` (when given) sees each picture. With `keep`, every picture
    // is kept until the end, as our reader keeps them (the decoder then gives each frame a
    // buffer of its own); without, each is released before the next is decoded. Returns the
    // number of pictures decoded, or -1 when the decoder refuses the file.
    long decode(bool keep, const std::function<void(const AVFrame*)>& sink = {}) const
    {
        std::vector<AVFrame*> kept;
        if (keep) kept.reserve(packets_.size());
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_FLIC);
        if (!codec) return -1;
        AVCodecContext* ctx = avcodec_alloc_context3(codec);
        ctx->extradata = static_cast<uint8_t*>(av_mallocz(header_.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        std::memcpy(ctx->extradata, header_.data(), header_.size());
        ctx->extradata_size = static_cast<int>(header_.size());
        ctx->width = width_;
        ctx->height = height_;
        ctx->thread_count = 1;
        long decoded = 0;
        if (avcodec_open2(ctx, codec, nullptr) < 0) {
            avcodec_free_context(&ctx);
            return -1;
        }
        AVFrame* frame = av_frame_alloc();
        for (AVPacket* pkt : packets_) {
            if (avcodec_send_packet(ctx, pkt) < 0) break;
            while (avcodec_receive_frame(ctx, frame) == 0) {
                if (sink) sink(frame);
                if (keep) {
                    AVFrame* k = av_frame_alloc();
                    av_frame_move_ref(k, frame);
                    kept.push_back(k);
                } else {
                    av_frame_unref(frame);
                }
                ++decoded;
            }
        }
        for (AVFrame* k : kept) av_frame_free(&k);
        av_frame_free(&frame);
        avcodec_free_context(&ctx);
        return decoded;
    }

private:
    qv::Bytes header_;
    int width_ = 0, height_ = 0;
    std::vector<AVPacket*> packets_;
};

// ---------------------------------------------------------------------------------------
// Ours.

// The reader alone: every picture decoded into its 8-bit copy.
long decodeOurs(const qv::Bytes& file)
{
    qv::FlcFrameStore store;
    if (!qv::readFlcFrames(file.data(), file.size(), store)) return -1;
    return static_cast<long>(store.records.size());
}

// The load as the FLC view does it: the reader, the header completion, and for every
// animation frame a 32-bit surface filled through the display palette.
long loadAsView(const qv::Bytes& file, std::vector<std::vector<uint32_t>>& surfaces)
{
    qv::FlcLoadResult result;
    if (!qv::loadFlcAnimation("bench.flc", file.data(), file.size(), result)) return -1;
    const qv::FlcFrameStore& store = result.store;
    uint32_t lut[256];
    for (int i = 0; i < 256; ++i) lut[i] = store.basePalette[i].rgb();
    const size_t n = static_cast<size_t>(store.header.width) * store.header.height;
    surfaces.resize(store.frames.size());
    for (size_t f = 0; f < store.frames.size(); ++f) {
        surfaces[f].resize(n);
        const uint8_t* src = store.frames[f].data();
        uint32_t* dst = surfaces[f].data();
        for (size_t i = 0; i < n; ++i) dst[i] = lut[src[i]];
    }
    return static_cast<long>(store.frames.size());
}

// The processor time of this thread: both decoders run in it, and other work on a shared
// machine does not count against either.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs `work` for at least `seconds` of processor time, returns the seconds per call.
double timeOnce(const std::function<void()>& work, double seconds)
{
    long calls = 0;
    const double start = threadSeconds();
    double elapsed = 0;
    do {
        work();
        ++calls;
        elapsed = threadSeconds() - start;
    } while (elapsed < seconds);
    return elapsed / static_cast<double>(calls);
}

struct Row {
    std::string name;
    int width = 0, height = 0;
    long frames = 0;       // pictures each decoder produces per pass
    double ours = 0;       // seconds per pass, best round
    double ffmpeg = 0;     // FFmpeg keeping every picture, as ours does
    double streaming = 0;  // FFmpeg releasing each picture before the next
    double view = 0;
    long viewFrames = 0;
};

bool measure(const TestFile& file, double seconds, Row& row)
{
    row.name = file.name;
    const FfmpegFlic peer(file.bytes);
    row.width = peer.width();
    row.height = peer.height();

    // Both must read the file the same way before their speeds mean anything.
    const long oursFrames = decodeOurs(file.bytes);
    qv::FlcFrameStore store;
    qv::readFlcFrames(file.bytes.data(), file.bytes.size(), store);
    Picture last;
    const long peerFrames = peer.decode(false, [&](const AVFrame* f) {
        last.resize(static_cast<size_t>(f->width) * f->height);
        for (int y = 0; y < f->height; ++y)
            std::memcpy(last.data() + static_cast<size_t>(y) * f->width, f->data[0] + y * f->linesize[0], f->width);
    });
    if (oursFrames <= 0 || peerFrames <= 0) {
        std::printf("%-28s skipped: %s cannot decode it\n", file.name.c_str(), oursFrames <= 0 ? "our reader" : "FFmpeg");
        return false;
    }
    if (peerFrames != oursFrames || store.frames.empty() || last != store.frames.back())
        std::printf("%-28s note: the decoders disagree (ours %ld pictures, FFmpeg %ld)\n", file.name.c_str(), oursFrames,
                    peerFrames);
    row.frames = oursFrames;

    std::vector<std::vector<uint32_t>> surfaces;
    row.ours = row.ffmpeg = row.streaming = row.view = 1e30;
    const int rounds = 5;
    for (int r = 0; r < rounds; ++r) {
        row.ours = std::min(row.ours, timeOnce([&] { decodeOurs(file.bytes); }, seconds / rounds));
        row.ffmpeg = std::min(row.ffmpeg, timeOnce([&] { peer.decode(true); }, seconds / rounds));
        row.streaming = std::min(row.streaming, timeOnce([&] { peer.decode(false); }, seconds / rounds));
        row.view = std::min(row.view, timeOnce([&] { row.viewFrames = loadAsView(file.bytes, surfaces); }, seconds / rounds));
    }
    return true;
}

void listFolder(const std::string& folder, std::vector<TestFile>& files)
{
    std::error_code ec;
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file() && qv::equalsNoCase(qv::fileExtension(entry.path().string()), "flc"))
            paths.push_back(entry.path());
    if (ec) std::fprintf(stderr, "cannot list %s\n", folder.c_str());
    std::sort(paths.begin(), paths.end());
    for (const auto& p : paths) {
        TestFile f{p.filename().string(), {}};
        if (qv::readWholeFile(p.string(), f.bytes, qv::kMaxFlcFileSize))
            files.push_back(std::move(f));
        else
            std::fprintf(stderr, "cannot read %s\n", p.string().c_str());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    av_log_set_level(AV_LOG_ERROR);
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
#endif
    double seconds = 1.0;  // per decoder and file, over all rounds
    std::vector<std::string> folders;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--time" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (a == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else if (a == "--help" || a == "-h") {
            std::printf("usage: %s [--time SECONDS] [--only TEXT] [FOLDER...]\n", argv[0]);
            return 0;
        } else {
            folders.push_back(a);
        }
    }

    std::vector<TestFile> files;
    const int sizes[][2] = {{96, 72}, {150, 150}, {240, 240}};
    for (const auto& s : sizes) {
        const std::string dims = std::to_string(s[0]) + "x" + std::to_string(s[1]);
        if (!encodeAnimation("unit " + dims, s[0], s[1], false, files)) return 1;
        if (!encodeAnimation("leader head " + dims, s[0], s[1], true, files)) return 1;
    }
    for (const std::string& folder : folders) listFolder(folder, files);

    std::printf("%-22s %9s %6s | %-15s | %-15s | %-5s | %-15s | %-5s | %-15s\n", "file", "size", "frames",
                "ours", "FFmpeg, kept", "ratio", "FFmpeg, stream", "ratio", "ours, view load");
    std::printf("%-22s %9s %6s | %15s | %15s | %5s | %15s | %5s | %15s\n", "", "", "", "frames/s   MB/s",
                "frames/s   MB/s", "", "frames/s   MB/s", "", "frames/s   MB/s");
    double minRatio = 1e30;
    int measured = 0;
    for (const TestFile& f : files) {
        if (!only.empty() && f.name.find(only) == std::string::npos) continue;
        Row row;
        if (!measure(f, seconds, row)) continue;
        const double mb = static_cast<double>(row.width) * row.height / 1e6;
        const double ratio = row.ffmpeg / row.ours;
        std::printf("%-22s %4dx%-4d %6ld | %7.0f %7.1f | %7.0f %7.1f | %5.2f | %7.0f %7.1f | %5.2f | %7.0f %7.1f\n",
                    row.name.c_str(), row.width, row.height, row.frames, row.frames / row.ours,
                    row.frames * mb / row.ours, row.frames / row.ffmpeg, row.frames * mb / row.ffmpeg, ratio,
                    row.frames / row.streaming, row.frames * mb / row.streaming, row.streaming / row.ours,
                    row.viewFrames / row.view, row.viewFrames * mb / row.view);
        std::fflush(stdout);
        minRatio = std::min(minRatio, ratio);
        ++measured;
    }
    if (measured == 0) {
        std::printf("decode speed vs FFmpeg: no file measured\n");
        return 1;
    }
    std::printf("decode speed vs FFmpeg: min ratio %.2f over %d files\n", minRatio, measured);
    return 0;
}
