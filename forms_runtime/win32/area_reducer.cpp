#include "forms_runtime/win32/area_reducer.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace kivo::forms::win32 {

namespace {

// Positions are counted in 1/256 of a source pixel: the weights of one source pixel over the
// target pixels it falls in add up to exactly one pixel, so nothing of the picture is lost or
// counted twice.
constexpr std::int64_t kUnit = 256;

// Where each target pixel begins along one side, in units; one more entry for the end.
std::vector<std::int64_t> Boundaries(int source, int target) {
    std::vector<std::int64_t> at(static_cast<std::size_t>(target) + 1);
    for (int t = 0; t <= target; ++t) {
        at[static_cast<std::size_t>(t)] =
            (static_cast<std::int64_t>(t) * source * kUnit + target / 2) / target;
    }
    return at;
}

// The source columns of one target column: the first and last are weighed by how much of them it
// covers, the ones between count whole.
struct ColumnTap {
    int first = 0;
    int count = 0;
    std::uint32_t first_weight = 0;
    std::uint32_t last_weight = 0;
    double normaliser = 0;  // one over the column's total weight
};

std::vector<ColumnTap> ColumnTaps(const std::vector<std::int64_t>& at) {
    std::vector<ColumnTap> taps(at.size() - 1);
    for (std::size_t x = 0; x < taps.size(); ++x) {
        const std::int64_t begin = at[x];
        const std::int64_t end = at[x + 1];
        ColumnTap& tap = taps[x];
        tap.first = static_cast<int>(begin / kUnit);
        const int last = static_cast<int>((end - 1) / kUnit);
        tap.count = last - tap.first + 1;
        tap.first_weight = static_cast<std::uint32_t>(
            std::min<std::int64_t>((tap.first + 1) * kUnit, end) - begin);
        tap.last_weight =
            static_cast<std::uint32_t>(end - std::max<std::int64_t>(last * kUnit, begin));
        tap.normaliser = 1.0 / static_cast<double>(end - begin);
    }
    return taps;
}

// Plain loops over bytes that the compiler turns into vector code: no pixel goes through a call.
template <typename Acc>
void AddWhole(Acc* sums, const std::uint8_t* row, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        sums[i] += static_cast<Acc>(row[i]) << 8;
    }
}

template <typename Acc>
void AddPart(Acc* sums, const std::uint8_t* row, std::size_t count, std::uint16_t weight) {
    for (std::size_t i = 0; i < count; ++i) {
        // At most 255 * 255: sixteen bits are enough for the product.
        sums[i] += static_cast<std::uint16_t>(row[i] * weight);
    }
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
    Reducer(int source_width, int source_height, const PixelRows& target)
        : source_height_(source_height),
          row_bytes_(static_cast<std::size_t>(source_width) * Channels),
          target_(target),
          rows_(Boundaries(source_height, target.height)),
          columns_(ColumnTaps(Boundaries(source_width, target.width))),
          sums_{std::vector<Acc>(row_bytes_), std::vector<Acc>(row_bytes_)} {}

    void AddRow(const std::uint8_t* row) override {
        if (row_ >= source_height_) {
            return;
        }
        const std::int64_t begin = row_ * kUnit;
        const std::int64_t end = begin + kUnit;
        // A source row falls in one target row, or straddles the border of two.
        for (int t = next_; t < target_.height && rows_[static_cast<std::size_t>(t)] < end; ++t) {
            const std::int64_t weight = std::min(end, rows_[static_cast<std::size_t>(t) + 1]) -
                                        std::max(begin, rows_[static_cast<std::size_t>(t)]);
            Acc* sums = sums_[t & 1].data();
            if (weight == kUnit) {
                AddWhole(sums, row, row_bytes_);
            } else if (weight > 0) {
                AddPart(sums, row, row_bytes_, static_cast<std::uint16_t>(weight));
            }
        }
        ++row_;
        while (next_ < target_.height &&
               rows_[static_cast<std::size_t>(next_) + 1] <= row_ * kUnit) {
            Emit(next_);
            ++next_;
        }
    }

  private:
    void Emit(int t) {
        std::vector<Acc>& sums = sums_[t & 1];
        const double row_normaliser =
            1.0 / static_cast<double>(rows_[static_cast<std::size_t>(t) + 1] -
                                      rows_[static_cast<std::size_t>(t)]);
        std::uint32_t* out = target_.pixels + static_cast<std::ptrdiff_t>(t) * target_.stride;
        for (int x = 0; x < target_.width; ++x) {
            const ColumnTap& tap = columns_[static_cast<std::size_t>(x)];
            const Acc* p = sums.data() + static_cast<std::size_t>(tap.first) * Channels;
            std::uint64_t total[Channels];
            for (int c = 0; c < Channels; ++c) {
                total[c] = static_cast<std::uint64_t>(p[c]) * tap.first_weight;
            }
            if (tap.count > 1) {
                std::uint64_t whole[Channels] = {};
                p += Channels;
                for (int k = 2; k < tap.count; ++k, p += Channels) {
                    for (int c = 0; c < Channels; ++c) {
                        whole[c] += p[c];
                    }
                }
                for (int c = 0; c < Channels; ++c) {
                    total[c] +=
                        (whole[c] << 8) + static_cast<std::uint64_t>(p[c]) * tap.last_weight;
                }
            }
            // Sums carry eight bits of row weight and eight of column weight.
            const double scale = tap.normaliser * row_normaliser;
            std::uint32_t pixel = Channels == 3 ? 0xFF000000u : 0;
            for (int c = 0; c < Channels; ++c) {
                const double value = static_cast<double>(total[c]) * scale + 0.5;
                pixel |= static_cast<std::uint32_t>(std::min(value, 255.0)) << (8 * c);
            }
            out[x] = pixel;
        }
        std::fill(sums.begin(), sums.end(), Acc{0});
    }

    int source_height_;
    std::size_t row_bytes_;
    PixelRows target_;
    std::vector<std::int64_t> rows_;
    std::vector<ColumnTap> columns_;
    std::vector<Acc> sums_[2];  // the target rows the current source row may fall in, by parity
    std::int64_t row_ = 0;      // the next source row
    int next_ = 0;              // the first target row not yet written
};

template <int Channels>
std::unique_ptr<AreaReducer::Impl> MakeReducer(int source_width, int source_height,
                                               const PixelRows& target) {
    // A column's sum over one target row: 255 times 256 units for each source row it covers,
    // plus two for the partial rows at either end.
    const std::uint64_t rows_per_target =
        static_cast<std::uint64_t>(source_height) / static_cast<std::uint64_t>(target.height) + 2;
    if (255u * 256u * rows_per_target <= std::numeric_limits<std::uint32_t>::max()) {
        return std::make_unique<Reducer<Channels, std::uint32_t>>(source_width, source_height,
                                                                  target);
    }
    return std::make_unique<Reducer<Channels, std::uint64_t>>(source_width, source_height, target);
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

}  // namespace kivo::forms::win32
