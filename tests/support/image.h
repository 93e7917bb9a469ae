// A plain grid of RGB pixels, row by row from the top-left: the synthetic screen, a decoded
// picture, or what the fake runtime displays.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "runtime/form_definition.h"

namespace moyuan::test {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb colour = {})
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    Rgb& at(int x, int y) { return pixels[index(x, y)]; }
    const Rgb& at(int x, int y) const { return pixels[index(x, y)]; }

    // Gives every pixel the colour the function returns for its column and row.
    void fill(const std::function<Rgb(int x, int y)>& colourAt) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) at(x, y) = colourAt(x, y);
    }

    friend bool operator==(const Image&, const Image&) = default;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

} // namespace moyuan::test
