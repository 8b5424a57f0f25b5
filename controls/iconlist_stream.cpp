#include "controls/iconlist_stream.h"

#include <limits>

#include "toolkit/errors.h"

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

[[noreturn]] void Truncated()
{
    throw EInvalidGraphic(L"Icon list data are truncated");
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    std::int32_t Int32()
    {
        const auto bytes = Take(4);
        std::uint32_t u = 0;
        for (int i = 3; i >= 0; --i) u = (u << 8) | bytes[static_cast<size_t>(i)];
        return static_cast<std::int32_t>(u);
    }

    std::span<const std::uint8_t> Take(size_t count)
    {
        if (count > data_.size() - pos_) Truncated();
        auto part = data_.subspan(pos_, count);
        pos_ += count;
        return part;
    }

private:
    std::span<const std::uint8_t> data_;
    size_t pos_ = 0;
};

} // namespace

std::vector<std::uint8_t> WriteIconListStream(const std::vector<std::vector<std::uint8_t>>& entries)
{
    if (entries.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
        throw EInvalidGraphic(L"Too many icons to store");
    std::vector<std::uint8_t> out;
    PutInt32(out, static_cast<std::int32_t>(entries.size()));
    for (const auto& entry : entries) {
        if (entry.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
            throw EInvalidGraphic(L"Icon is too large to store");
        PutInt32(out, static_cast<std::int32_t>(entry.size()));
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}

std::int32_t ReadIconListStream(std::span<const std::uint8_t> data,
                                const std::function<void(std::span<const std::uint8_t>)>& onEntry)
{
    Reader reader(data);
    const std::int32_t count = reader.Int32();
    std::int32_t read = 0;
    for (; read < count; ++read) {
        const std::int32_t size = reader.Int32();
        onEntry(size <= 0 ? std::span<const std::uint8_t>() : reader.Take(static_cast<size_t>(size)));
    }
    return read;
}
