#include "forms_runtime/pixels/area_reducer.h"

#include <emmintrin.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace kivo::forms {

namespace {

// Positions are counted in units, a fraction of a source pixel: the weights of one source pixel
// over the target pixels it falls in add up to exactly one pixel, so nothing of the picture is
// lost or counted twice. Columns are counted in 1/256 of a pixel; rows in as fine a unit as the
// row sums allow (see MakeReducer).
constexpr std::int64_t kColumnUnit = 256;

// Where each target pixel begins along one side, in units; one more entry for the end.
std::vector<std::int64_t> Boundaries(int source, int target, std::int64_t unit) {
    std::vector<std::int64_t> at(static_cast<std::size_t>(target) + 1);
    for (int t = 0; t <= target; ++t) {
        at[static_cast<std::size_t>(t)] =
            (static_cast<std::int64_t>(t) * source * unit + target / 2) / target;
    }
    return at;
}

// The source columns of one target column: the first and last are weighed by how much of them it
// covers, the ones between count whole. The weights are shares of the column's total weight.
struct ColumnTap {
    int first = 0;
    int count = 0;
    float first_weight = 0;
    float whole_weight = 0;
    float last_weight = 0;
};

std::vector<ColumnTap> ColumnTaps(const std::vector<std::int64_t>& at) {
    std::vector<ColumnTap> taps(at.size() - 1);
    for (std::size_t x = 0; x < taps.size(); ++x) {
        const std::int64_t begin = at[x];
        const std::int64_t end = at[x + 1];
        const auto share = [total = static_cast<double>(end - begin)](std::int64_t units) {
            return static_cast<float>(static_cast<double>(units) / total);
        };
        ColumnTap& tap = taps[x];
        tap.first = static_cast<int>(begin / kColumnUnit);
        const int last = static_cast<int>((end - 1) / kColumnUnit);
        tap.count = last - tap.first + 1;
        tap.first_weight =
            share(std::min<std::int64_t>((tap.first + 1) * kColumnUnit, end) - begin);
        tap.whole_weight = share(kColumnUnit);
        tap.last_weight = share(end - std::max<std::int64_t>(last * kColumnUnit, begin));
    }
    return taps;
}

// Plain loops over bytes that the compiler turns into vector code: no pixel goes through a call.
// A target row's first source row sets its sums, the others add to them. A weight is at most 256
// units: sixteen bits hold every product, so the compiler multiplies sixteen bits at a time.
template <typename Acc>
void AccumulateRow(Acc* sums, const std::uint8_t* row, std::size_t count, std::uint16_t weight,
                   bool first) {
    if (first) {
        for (std::size_t i = 0; i < count; ++i) {
            sums[i] = static_cast<std::uint16_t>(row[i] * weight);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            sums[i] += static_cast<std::uint16_t>(row[i] * weight);
        }
    }
}

// A sum as a number the processor converts to floating point in one instruction: sums stay
// below 2^31 unless they are 64-bit ones (see MakeReducer).
inline std::int32_t Signed(std::uint16_t sum) {
    return sum;
}
inline std::int32_t Signed(std::uint32_t sum) {
    return static_cast<std::int32_t>(sum);
}
inline std::int64_t Signed(std::uint64_t sum) {
    return static_cast<std::int64_t>(sum);
}

}  // namespace

class AreaReducer::Impl {
  public:
    virtual ~Impl() = default;
    virtual void AddRow(const std::uint8_t* row) = 0;
};

namespace {

// `Channels` bytes per source pixel; `Acc` holds a column's weighted sum over one target row's
// source rows.
template <int Channels, typename Acc>
class Reducer final : public AreaReducer::Impl {
  public:
    Reducer(int source_width, int source_height, const PixelRows& target, int row_shift)
        : source_height_(source_height),
          row_bytes_(static_cast<std::size_t>(source_width) * Channels),
          target_(target),
          row_unit_(std::int64_t{1} << row_shift),
          rows_(Boundaries(source_height, target.height, row_unit_)),
          columns_(ColumnTaps(Boundaries(source_width, target.width, kColumnUnit))),
          sums_{std::vector<Acc>(row_bytes_), std::vector<Acc>(row_bytes_)},
          averages_(row_bytes_ + 4) {}

    void AddRow(const std::uint8_t* row) override {
        if (row_ >= source_height_) {
            return;
        }
        const std::int64_t begin = row_ * row_unit_;
        const std::int64_t end = begin + row_unit_;
        // A source row falls in one target row, or straddles the border of two.
        for (int t = next_; t < target_.height && rows_[static_cast<std::size_t>(t)] < end; ++t) {
            const std::int64_t from = rows_[static_cast<std::size_t>(t)];
            const std::int64_t weight =
                std::min(end, rows_[static_cast<std::size_t>(t) + 1]) - std::max(begin, from);
            AccumulateRow(sums_[t & 1].data(), row, row_bytes_, static_cast<std::uint16_t>(weight),
                          from >= begin);
        }
        ++row_;
        while (next_ < target_.height &&
               rows_[static_cast<std::size_t>(next_) + 1] <= row_ * row_unit_) {
            Emit(next_);
            ++next_;
        }
    }

  private:
    // Each column's average over the target row's source rows, then each target pixel's over its
    // columns, a pixel's four channels in one vector (a three-channel pixel's fourth is the next
    // pixel's first, ignored).
    void Emit(int t) {
        const Acc* sums = sums_[t & 1].data();
        const float row_share = 1.0f / static_cast<float>(rows_[static_cast<std::size_t>(t) + 1] -
                                                          rows_[static_cast<std::size_t>(t)]);
        float* averages = averages_.data();
        for (std::size_t i = 0; i < row_bytes_; ++i) {
            averages[i] = static_cast<float>(Signed(sums[i])) * row_share;
        }
        const __m128 half = _mm_set1_ps(0.5f);
        std::uint32_t* out = target_.pixels + static_cast<std::ptrdiff_t>(t) * target_.stride;
        for (int x = 0; x < target_.width; ++x) {
            const ColumnTap& tap = columns_[static_cast<std::size_t>(x)];
            const float* p = averages + static_cast<std::size_t>(tap.first) * Channels;
            __m128 value = _mm_mul_ps(_mm_loadu_ps(p), _mm_set1_ps(tap.first_weight));
            if (tap.count > 1) {
                __m128 whole = _mm_setzero_ps();
                for (int k = 2; k < tap.count; ++k) {
                    p += Channels;
                    whole = _mm_add_ps(whole, _mm_loadu_ps(p));
                }
                p += Channels;
                value = _mm_add_ps(value, _mm_mul_ps(whole, _mm_set1_ps(tap.whole_weight)));
                value =
                    _mm_add_ps(value, _mm_mul_ps(_mm_loadu_ps(p), _mm_set1_ps(tap.last_weight)));
            }
            // Rounded, then narrowed to bytes with saturation.
            const __m128i levels = _mm_cvttps_epi32(_mm_add_ps(value, half));
            const __m128i words = _mm_packs_epi32(levels, levels);
            const auto pixel =
                static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
            out[x] = Channels == 3 ? (pixel | 0xFF000000u) : pixel;
        }
    }

    int source_height_;
    std::size_t row_bytes_;
    PixelRows target_;
    std::int64_t row_unit_;
    std::vector<std::int64_t> rows_;
    std::vector<ColumnTap> columns_;
    std::vector<Acc> sums_[2];     // the target rows the current source row may fall in, by parity
    std::vector<float> averages_;  // one spare at the end for the fourth channel
    std::int64_t row_ = 0;         // the next source row
    int next_ = 0;                 // the first target row not yet written
};

// A column's sum over a target row is at most 255 for each unit of row weight: the narrowest
// sums that hold it take the least memory to go through, row after row. Sixteen bits hold rows
// weighed to 1/32 of a pixel up to a reduction of six or so; beyond, 32 or 64 bits and 1/256.
template <int Channels>
std::unique_ptr<AreaReducer::Impl> MakeReducer(int source_width, int source_height,
                                               const PixelRows& target) {
    // Source rows per target row, the partial ones at either end included.
    const std::uint64_t rows_per_target =
        static_cast<std::uint64_t>(source_height) / static_cast<std::uint64_t>(target.height) + 2;
    for (int shift = 8; shift >= 5; --shift) {
        if (255 * (std::uint64_t{1} << shift) * rows_per_target <=
            std::numeric_limits<std::uint16_t>::max()) {
            return std::make_unique<Reducer<Channels, std::uint16_t>>(source_width, source_height,
                                                                      target, shift);
        }
    }
    if (255 * 256 * rows_per_target <=
        static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return std::make_unique<Reducer<Channels, std::uint32_t>>(source_width, source_height,
                                                                  target, 8);
    }
    return std::make_unique<Reducer<Channels, std::uint64_t>>(source_width, source_height, target,
                                                              8);
}

}  // namespace

AreaReducer::AreaReducer(int source_width, int source_height, SourceLayout layout,
                         const PixelRows& target) {
    if (source_width <= 0 || source_height <= 0 || target.width <= 0 || target.height <= 0 ||
        target.width > source_width || target.height > source_height) {
        return;  // nothing to do, or nothing this reducer does: rows are ignored
    }
    impl_ = layout == SourceLayout::Bgr24 ? MakeReducer<3>(source_width, source_height, target)
                                          : MakeReducer<4>(source_width, source_height, target);
}

AreaReducer::~AreaReducer() = default;

void AreaReducer::AddRows(const std::uint8_t* rows, int count, std::ptrdiff_t stride) {
    if (!impl_) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        impl_->AddRow(rows + i * stride);
    }
}

void Premultiply(std::uint8_t* pixels, int count) {
    for (int i = 0; i < count; ++i, pixels += 4) {
        const unsigned alpha = pixels[3];
        if (alpha == 255) {
            continue;
        }
        for (int c = 0; c < 3; ++c) {
            pixels[c] = static_cast<std::uint8_t>((pixels[c] * alpha + 127) / 255);
        }
    }
}

}  // namespace kivo::forms
