// Arbitrary files through the upright loader (every Qt image plug-in) and, for
// what decodes, the index features.
#include "features/featurevector.h"
#include "indexing/imageloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <cstddef>
#include <cstdint>

namespace {

QString inputPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    inputPath = QDir::tempPath()
        + QStringLiteral("/lumerax-fuzz-%1.img").arg(QCoreApplication::applicationPid());
    // Photographs of any size are fine; the fuzzer looks for memory errors,
    // not for the time a 100-megapixel picture takes.
    qputenv("QT_IMAGEIO_MAXALLOC", "64");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(inputPath);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const QSize declared = QImageReader(inputPath).size();
    if (qint64(declared.width()) * declared.height() > 1 << 20)
        return 0;
    const QImage image = veldra::loadImage(inputPath);
    if (!image.isNull() && qint64(image.width()) * image.height() <= 1 << 20) {
        const veldra::FeatureVector features(inputPath, &image);
        if (features.width != image.width() || features.rgn < 0 || features.rgn > 100)
            __builtin_trap();
    }
    return 0;
}
