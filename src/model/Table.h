// Fixed-size arrays indexed as the model's reports write them: 1-based,
// first index fastest (column-major). Keeping the reference's layout keeps
// the places where it reads one table through another name's shape equal.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace vx::model {

template <typename T, int... Extents>
class TTable {
    static_assert(sizeof...(Extents) >= 1, "a table has at least one dimension");
    static constexpr std::array<int, sizeof...(Extents)> kExtents{Extents...};

public:
    static constexpr std::size_t kSize = (std::size_t(Extents) * ...);

    template <typename... Index>
    constexpr T &operator()(Index... index) {
        return Data[Offset(int(index)...)];
    }
    template <typename... Index>
    constexpr const T &operator()(Index... index) const {
        return Data[Offset(int(index)...)];
    }

    // The element at a 1-based position of the flat storage.
    constexpr T &Flat(std::size_t position) { return Data[position - 1]; }
    constexpr const T &Flat(std::size_t position) const { return Data[position - 1]; }

    constexpr T *data() { return Data.data(); }
    constexpr const T *data() const { return Data.data(); }
    static constexpr std::size_t size() { return kSize; }
    static constexpr int Extent(std::size_t dimension) { return kExtents[dimension]; }
    constexpr void Fill(const T &value) { Data.fill(value); }

    std::array<T, kSize> Data{};

private:
    template <typename... Index>
    static constexpr std::size_t Offset(Index... index) {
        static_assert(sizeof...(Index) == sizeof...(Extents), "one index per dimension");
        const std::array<int, sizeof...(Index)> at{index...};
        std::size_t offset = 0;
        std::size_t stride = 1;
        for (std::size_t d = 0; d < at.size(); ++d) {
            assert(at[d] >= 1 && at[d] <= kExtents[d]);
            offset += std::size_t(at[d] - 1) * stride;
            stride *= std::size_t(kExtents[d]);
        }
        return offset;
    }
};

// A fixed-length text padded with blanks, as the reference keeps its labels.
template <int Length>
struct TChars {
    std::array<char, Length> Text = Blank();

    static constexpr std::array<char, Length> Blank() {
        std::array<char, Length> text{};
        text.fill(' ');
        return text;
    }
    // Assigns as the reference does: cut to the length, padded with blanks.
    TChars &operator=(std::string_view value) {
        Text = Blank();
        std::memcpy(Text.data(), value.data(), value.size() < Text.size() ? value.size() : Text.size());
        return *this;
    }
    std::string_view View() const { return {Text.data(), Text.size()}; }
    bool operator==(const TChars &) const = default;
};

} // namespace vx::model
