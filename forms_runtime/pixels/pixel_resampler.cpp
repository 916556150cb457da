#include "forms_runtime/pixels/pixel_resampler.h"

#include "forms_runtime/pixels/area_reducer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kivo::forms {

namespace {

// The source pixels that make one target pixel along one axis, with their weights.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Taps> AxisTaps(int source_size, int target_size) {
    std::vector<Taps> taps(static_cast<std::size_t>(target_size));
    const double ratio = static_cast<double>(source_size) / target_size;
    for (int i = 0; i < target_size; ++i) {
        Taps& tap = taps[static_cast<std::size_t>(i)];
        if (ratio > 1.0) {
            // Each target pixel covers [begin, end) of the source: weigh by overlap.
            const double begin = i * ratio;
            const double end = std::min<double>((i + 1) * ratio, source_size);
            tap.first = static_cast<int>(begin);
            for (int j = tap.first; j < end; ++j) {
                const double overlap = std::min<double>(j + 1, end) - std::max<double>(j, begin);
                tap.weights.push_back(static_cast<float>(overlap / ratio));
            }
        } else {
            const double center = (i + 0.5) * ratio - 0.5;
            const int left = static_cast<int>(std::floor(center));
            const double t = center - left;
            const int a = std::clamp(left, 0, source_size - 1);
            const int b = std::clamp(left + 1, 0, source_size - 1);
            tap.first = a;
            if (a == b) {
                tap.weights = {1.0f};
            } else {
                tap.weights = {static_cast<float>(1.0 - t), static_cast<float>(t)};
            }
        }
    }
    return taps;
}

using Channels = std::array<float, 4>;

void Accumulate(Channels* row, const std::uint32_t* pixels, int width, float weight) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t p = pixels[x];
        for (int c = 0; c < 4; ++c) {
            row[x][static_cast<std::size_t>(c)] +=
                weight * static_cast<float>((p >> (8 * c)) & 0xFF);
        }
    }
}

std::uint32_t Pack(const Channels& value) {
    std::uint32_t p = 0;
    for (int c = 0; c < 4; ++c) {
        const float v = std::clamp(value[static_cast<std::size_t>(c)] + 0.5f, 0.0f, 255.0f);
        p |= static_cast<std::uint32_t>(v) << (8 * c);
    }
    return p;
}

}  // namespace

void Resample(const PixelRows& source, const PixelRows& target) {
    if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) {
        return;
    }
    if (target.width <= source.width && target.height <= source.height) {
        AreaReducer reducer(source.width, source.height, SourceLayout::Pbgra32, target);
        reducer.AddRows(reinterpret_cast<const std::uint8_t*>(source.pixels), source.height,
                        static_cast<std::ptrdiff_t>(source.stride) * 4);
        return;
    }
    const std::vector<Taps> columns = AxisTaps(source.width, target.width);
    const std::vector<Taps> rows = AxisTaps(source.height, target.height);
    std::vector<Channels> blended(static_cast<std::size_t>(source.width));
    for (int y = 0; y < target.height; ++y) {
        // First down the rows that make this target row, then across.
        std::fill(blended.begin(), blended.end(), Channels{});
        const Taps& row = rows[static_cast<std::size_t>(y)];
        for (std::size_t k = 0; k < row.weights.size(); ++k) {
            const std::uint32_t* line =
                source.pixels +
                static_cast<std::ptrdiff_t>(row.first + static_cast<int>(k)) * source.stride;
            Accumulate(blended.data(), line, source.width, row.weights[k]);
        }
        std::uint32_t* out = target.pixels + static_cast<std::ptrdiff_t>(y) * target.stride;
        for (int x = 0; x < target.width; ++x) {
            const Taps& column = columns[static_cast<std::size_t>(x)];
            Channels value{};
            for (std::size_t k = 0; k < column.weights.size(); ++k) {
                const Channels& from = blended[static_cast<std::size_t>(column.first) + k];
                for (std::size_t c = 0; c < 4; ++c) {
                    value[c] += column.weights[k] * from[c];
                }
            }
            out[x] = Pack(value);
        }
    }
}

}  // namespace kivo::forms
