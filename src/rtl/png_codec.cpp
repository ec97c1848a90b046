// PNG files through libpng's simplified interface (which reports errors by return value, so
// no long jump crosses C++ frames).
#include <png.h>

#include <string>

#include "image_codecs.h"

namespace qorkit::detail {

bool IsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

TPixelSurface DecodePng(std::span<const std::uint8_t> bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        throw EInvalidGraphic(std::string("Invalid PNG image: ") + image.message);
    try {
        CheckImageSize(image.width, image.height);
    } catch (...) {
        png_image_free(&image);
        throw;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, rgb.data(), 0, nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        throw EInvalidGraphic("Invalid PNG image: " + message);
    }
    TPixelSurface s;
    s.Width = static_cast<std::int32_t>(image.width);
    s.Height = static_cast<std::int32_t>(image.height);
    s.Pixels.resize(static_cast<std::size_t>(s.Width) * s.Height);
    for (std::size_t k = 0; k < s.Pixels.size(); ++k)
        s.Pixels[k] = rgb[3 * k] | (rgb[3 * k + 1] << 8) | (rgb[3 * k + 2] << 16);
    return s;
}

std::vector<std::uint8_t> EncodePng(const TPixelSurface& s) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(s.Width);
    image.height = static_cast<png_uint_32>(s.Height);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(s.Pixels.size() * 3);
    for (std::size_t k = 0; k < s.Pixels.size(); ++k) {
        rgb[3 * k] = static_cast<std::uint8_t>(s.Pixels[k]);
        rgb[3 * k + 1] = static_cast<std::uint8_t>(s.Pixels[k] >> 8);
        rgb[3 * k + 2] = static_cast<std::uint8_t>(s.Pixels[k] >> 16);
    }
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        throw EInvalidGraphicOperation("Cannot encode PNG image: " + message);
    }
    out.resize(size);
    return out;
}

}  // namespace qorkit::detail
