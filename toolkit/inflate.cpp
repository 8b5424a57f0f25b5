#include "toolkit/inflate.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kMaxBits = 15;
constexpr int kLiteralCodes = 288;
constexpr int kDistanceCodes = 30;

class TBitReader {
public:
    explicit TBitReader(std::span<const unsigned char> in) : in_(in) {}

    // The next bits, least significant first. Reading past the end sets
    // Overrun and reads zeros, so a caller checks once per symbol.
    std::uint32_t Bits(int count) noexcept
    {
        while (held_ < count) {
            if (at_ >= in_.size()) {
                overrun_ = true;
                return 0;
            }
            buffer_ |= static_cast<std::uint32_t>(in_[at_++]) << held_;
            held_ += 8;
        }
        const std::uint32_t value = buffer_ & ((1u << count) - 1);
        buffer_ >>= count;
        held_ -= count;
        return value;
    }

    // A stored block starts on a byte.
    void DropToByte() noexcept
    {
        buffer_ = 0;
        held_ = 0;
    }

    bool Overrun() const noexcept { return overrun_; }

private:
    std::span<const unsigned char> in_;
    std::size_t at_ = 0;
    std::uint32_t buffer_ = 0;
    int held_ = 0;
    bool overrun_ = false;
};

// A canonical Huffman code as the format defines it: how many codes each
// length has, and the symbols in code order.
struct THuffman {
    std::array<std::uint16_t, kMaxBits + 1> Counts{};
    std::array<std::uint16_t, kLiteralCodes> Symbols{};
};

// False for lengths that promise more codes than the bits can hold.
bool Build(THuffman& code, const std::uint8_t* lengths, int count) noexcept
{
    code.Counts.fill(0);
    for (int i = 0; i < count; ++i) ++code.Counts[lengths[i]];
    code.Counts[0] = 0;
    int left = 1;
    for (int length = 1; length <= kMaxBits; ++length) {
        left = left * 2 - code.Counts[length];
        if (left < 0) return false;
    }
    std::array<std::uint16_t, kMaxBits + 2> next{};
    for (int length = 1; length <= kMaxBits; ++length)
        next[length + 1] = static_cast<std::uint16_t>(next[length] + code.Counts[length]);
    for (int i = 0; i < count; ++i)
        if (lengths[i] != 0) code.Symbols[next[lengths[i]]++] = static_cast<std::uint16_t>(i);
    return true;
}

// The next symbol, or -1 for a code the table does not have.
int Decode(TBitReader& bits, const THuffman& code) noexcept
{
    int value = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxBits; ++length) {
        value |= static_cast<int>(bits.Bits(1));
        const int count = code.Counts[length];
        if (value - first < count) return code.Symbols[index + value - first];
        index += count;
        first = (first + count) * 2;
        value *= 2;
        if (bits.Overrun()) return -1;
    }
    return -1;
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                             33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool Codes(TBitReader& bits, const THuffman& literals, const THuffman& distances, std::string& out,
           std::size_t limit)
{
    for (;;) {
        const int symbol = Decode(bits, literals);
        if (symbol < 0) return false;
        if (symbol < 256) {
            if (out.size() >= limit) return false;
            out.push_back(static_cast<char>(symbol));
            continue;
        }
        if (symbol == 256) return true;
        const int lengthCode = symbol - 257;
        if (lengthCode >= 29) return false;
        const std::size_t length = kLengthBase[lengthCode] + bits.Bits(kLengthExtra[lengthCode]);
        const int distanceCode = Decode(bits, distances);
        if (distanceCode < 0 || distanceCode >= kDistanceCodes) return false;
        const std::size_t distance = kDistanceBase[distanceCode] + bits.Bits(kDistanceExtra[distanceCode]);
        if (bits.Overrun() || distance > out.size() || length > limit - out.size()) return false;
        // Byte by byte: a copy may overlap what it writes.
        for (std::size_t i = 0, from = out.size() - distance; i < length; ++i) out.push_back(out[from + i]);
    }
}

bool Stored(TBitReader& bits, std::string& out, std::size_t limit)
{
    bits.DropToByte();
    const std::uint32_t length = bits.Bits(16);
    const std::uint32_t complement = bits.Bits(16);
    if (bits.Overrun() || (length ^ 0xFFFFu) != complement || length > limit - out.size()) return false;
    for (std::uint32_t i = 0; i < length; ++i) out.push_back(static_cast<char>(bits.Bits(8)));
    return !bits.Overrun();
}

bool Fixed(TBitReader& bits, std::string& out, std::size_t limit)
{
    std::uint8_t lengths[kLiteralCodes];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    THuffman literals, distances;
    Build(literals, lengths, kLiteralCodes);
    std::fill(lengths, lengths + kDistanceCodes, 5);
    Build(distances, lengths, kDistanceCodes);
    return Codes(bits, literals, distances, out, limit);
}

bool Dynamic(TBitReader& bits, std::string& out, std::size_t limit)
{
    const int literalCount = static_cast<int>(bits.Bits(5)) + 257;
    const int distanceCount = static_cast<int>(bits.Bits(5)) + 1;
    const int lengthCount = static_cast<int>(bits.Bits(4)) + 4;
    if (literalCount > 286 || distanceCount > kDistanceCodes) return false;

    constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::uint8_t lengths[kLiteralCodes + kDistanceCodes] = {};
    for (int i = 0; i < lengthCount; ++i) lengths[kOrder[i]] = static_cast<std::uint8_t>(bits.Bits(3));
    THuffman lengthCode;
    if (bits.Overrun() || !Build(lengthCode, lengths, 19)) return false;

    const int total = literalCount + distanceCount;
    std::fill(lengths, lengths + 19, 0);
    for (int at = 0; at < total;) {
        const int symbol = Decode(bits, lengthCode);
        if (symbol < 0) return false;
        if (symbol < 16) {
            lengths[at++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (at == 0) return false;
            repeated = lengths[at - 1];
            times = 3 + static_cast<int>(bits.Bits(2));
        } else if (symbol == 17) {
            times = 3 + static_cast<int>(bits.Bits(3));
        } else {
            times = 11 + static_cast<int>(bits.Bits(7));
        }
        if (at + times > total) return false;
        while (times-- > 0) lengths[at++] = repeated;
    }
    // A block without its end code could never end.
    if (lengths[256] == 0) return false;
    THuffman literals, distances;
    if (!Build(literals, lengths, literalCount) || !Build(distances, lengths + literalCount, distanceCount))
        return false;
    return Codes(bits, literals, distances, out, limit);
}

} // namespace

std::optional<std::string> Inflate(std::span<const unsigned char> packed, std::size_t limit)
{
    TBitReader bits(packed);
    std::string out;
    for (bool last = false; !last;) {
        last = bits.Bits(1) != 0;
        const std::uint32_t type = bits.Bits(2);
        bool whole = false;
        if (type == 0)
            whole = Stored(bits, out, limit);
        else if (type == 1)
            whole = Fixed(bits, out, limit);
        else if (type == 2)
            whole = Dynamic(bits, out, limit);
        if (!whole || bits.Overrun()) return std::nullopt;
    }
    return out;
}
