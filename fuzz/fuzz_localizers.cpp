// Face and plate localisation, censoring and pixelation on pictures of any
// size, 0 x N and 1 x N included: two bytes of size, then RGB bytes.
#include "recognition/face/facelocalizer.h"
#include "recognition/face/regionrendering.h"
#include "recognition/plate/platelocator.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    // Large enough for both localisers' smallest windows (plates need 101
    // x 26), small enough for many runs a second.
    const int width = data[0] % 141;
    const int height = data[1] % 65;
    const int blocks = data[2] % 16;
    data += 3;
    size -= 3;
    QImage image(width, height, QImage::Format_RGB32);
    size_t next = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t rgb[3] = { 0, 0, 0 };
            for (uint8_t& channel : rgb)
                channel = size ? data[next++ % size] : 0;
            image.setPixel(x, y, qRgb(rgb[0], rgb[1], rgb[2]));
        }

    QVector<QRect> faces = veldra::FaceLocalizer(25, 0.2).locate(image);
    const QVector<QRect> plates = veldra::PlateLocator::locate(image);
    for (const QRect& found : faces + plates)
        if (!image.rect().contains(found))
            __builtin_trap();
    // Regions from the input too, reaching past the picture's edges.
    if (size >= 4)
        faces << QRect(int(data[0]) - 128, int(data[1]) - 128, data[2], data[3]);
    veldra::censorRegions(image, faces);
    veldra::pixelateRegions(image, faces + plates, blocks);
    return 0;
}
