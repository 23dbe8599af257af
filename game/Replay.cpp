#include "game/Replay.h"

#include "framework/WholeFile.h"

#include <cmath>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'Q', 'E', 'X', 'R', 'P', 'L', 'A', 'Y'};
constexpr std::size_t kRunBytes = 4 + 2 + 3 * 4;
constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

std::uint32_t checksum(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t hash = kFnvOffset;
    for (std::size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : bytes(out) {}
    void raw(const void* data, std::size_t count) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + count);
    }
    void u8(std::uint8_t v) { bytes.push_back(v); }
    void u16(std::uint16_t v) { unsigned_(v, 2); }
    void u32(std::uint32_t v) { unsigned_(v, 4); }
    void f32(float v) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }

private:
    void unsigned_(std::uint32_t v, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t>& bytes;
};

// Every read checks what is left first; a short read leaves the reader failed for good.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t count) : p(data), left(count) {}
    bool failed() const { return broken; }
    std::size_t remaining() const { return left; }
    bool raw(void* out, std::size_t count) {
        if (broken || count > left) return fail();
        std::memcpy(out, p, count);
        p += count;
        left -= count;
        return true;
    }
    std::uint32_t unsigned_(int count) {
        std::uint8_t buffer[4] = {};
        if (!raw(buffer, static_cast<std::size_t>(count))) return 0;
        std::uint32_t v = 0;
        for (int i = 0; i < count; ++i) v |= static_cast<std::uint32_t>(buffer[i]) << (8 * i);
        return v;
    }
    float f32() {
        const std::uint32_t bits = unsigned_(4);
        float v = 0.0f;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }

private:
    bool fail() {
        broken = true;
        return false;
    }
    const std::uint8_t* p;
    std::size_t left;
    bool broken = false;
};

ReplayReading refused(std::string why) { return ReplayReading{std::nullopt, std::move(why)}; }

bool isSteering(float v) { return std::isfinite(v) && v >= -1.0f && v <= 1.0f; }

}  // namespace

Replay::Replay(std::uint32_t seed, Difficulty difficulty) : seed_(seed), difficulty_(difficulty) {}

void Replay::restart(std::uint32_t seed, Difficulty difficulty) {
    std::vector<Run> room = std::move(runs_);
    room.clear();
    *this = Replay(seed, difficulty);
    runs_ = std::move(room);
}

void Replay::record(const ControlFrame& controls, std::uint32_t steps) {
    if (!runs_.empty() && runs_.back().controls == controls)
        runs_.back().steps += steps;
    else
        runs_.push_back(Run{steps, controls});
    steps_ += steps;
}

std::optional<ControlFrame> Replay::controlsOf(std::uint32_t index) const {
    if (index >= steps_) return std::nullopt;
    if (lookupRun >= runs_.size() || index < lookupStart) {
        lookupRun = 0;
        lookupStart = 0;
    }
    while (index >= lookupStart + runs_[lookupRun].steps) {
        lookupStart += runs_[lookupRun].steps;
        ++lookupRun;
    }
    return runs_[lookupRun].controls;
}

std::vector<std::uint8_t> encodeReplay(const Replay& replay, std::string_view gameVersion) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(64 + gameVersion.size() + replay.runs().size() * kRunBytes);
    Writer out(bytes);
    out.raw(kMagic, sizeof kMagic);
    out.u32(Replay::kFormatVersion);
    out.u16(static_cast<std::uint16_t>(gameVersion.size()));
    out.raw(gameVersion.data(), gameVersion.size());
    out.u32(replay.seed());
    out.u8(static_cast<std::uint8_t>(replay.difficulty()));
    out.u32(static_cast<std::uint32_t>(replay.runs().size()));
    for (const Replay::Run& run : replay.runs()) {
        out.u32(run.steps);
        out.u16(run.controls.keys);
        out.f32(run.controls.padRight);
        out.f32(run.controls.padForward);
        out.f32(run.controls.padUp);
    }
    out.u32(checksum(bytes.data(), bytes.size()));
    return bytes;
}

ReplayReading parseReplay(const std::vector<std::uint8_t>& bytes, std::string_view gameVersion) {
    Reader in(bytes.data(), bytes.size());
    char magic[sizeof kMagic] = {};
    if (!in.raw(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        return refused("it is not a Qex replay");
    const std::uint32_t format = in.unsigned_(4);
    if (in.failed()) return refused("it is cut short");
    if (format != Replay::kFormatVersion)
        return refused("it has replay format " + std::to_string(format) + ", this game reads " +
                       std::to_string(Replay::kFormatVersion));
    std::string version(in.unsigned_(2), '\0');
    if (in.failed() || !in.raw(version.data(), version.size())) return refused("it is cut short");
    if (version != gameVersion)
        return refused("it was recorded by Qex " + version + ", this is Qex " +
                       std::string(gameVersion));
    if (bytes.size() < 4 || checksum(bytes.data(), bytes.size() - 4) !=
                                Reader(bytes.data() + bytes.size() - 4, 4).unsigned_(4))
        return refused("it is damaged (its checksum does not match)");

    const std::uint32_t seed = in.unsigned_(4);
    const std::uint32_t difficulty = in.unsigned_(1);
    const std::uint32_t runCount = in.unsigned_(4);
    if (in.failed()) return refused("it is cut short");
    if (difficulty > static_cast<std::uint32_t>(Difficulty::Hard))
        return refused("its difficulty " + std::to_string(difficulty) + " is unknown");
    if (in.remaining() != static_cast<std::size_t>(runCount) * kRunBytes + 4)
        return refused("its length does not match its " + std::to_string(runCount) + " runs");

    Replay replay(seed, static_cast<Difficulty>(difficulty));
    replay.reserve(runCount);
    for (std::uint32_t i = 0; i < runCount; ++i) {
        const std::uint32_t steps = in.unsigned_(4);
        ControlFrame controls;
        controls.keys = static_cast<std::uint16_t>(in.unsigned_(2));
        controls.padRight = in.f32();
        controls.padForward = in.f32();
        controls.padUp = in.f32();
        if ((controls.keys & ~ControlFrame::kAllKeys) != 0 || !isSteering(controls.padRight) ||
            !isSteering(controls.padForward) || !isSteering(controls.padUp))
            return refused("run " + std::to_string(i + 1) + " holds controls no player can give");
        if (steps == 0 || replay.stepCount() > UINT32_MAX - steps)
            return refused("run " + std::to_string(i + 1) + " has an impossible length");
        replay.record(controls, steps);
    }
    return ReplayReading{std::move(replay), {}};
}

ReplayReading loadReplay(const std::filesystem::path& file, std::string_view gameVersion) {
    std::string text;
    if (const std::error_code error = readWholeFile(file, text))
        return refused("it cannot be read (" + error.message() + ")");
    return parseReplay(std::vector<std::uint8_t>(text.begin(), text.end()), gameVersion);
}
