// Arbitrary files through the business-card reader's JPEG loader, and what
// decodes through its grey, smoothing and binarisation steps.
#include "recognition/card/cardimage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

std::string inputPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    inputPath = QFile::encodeName(QDir::tempPath()
        + QStringLiteral("/lumerax-fuzz-card-%1.jpg").arg(QCoreApplication::applicationPid()))
                    .toStdString();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(QFile::decodeName(inputPath.c_str()));
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    veldra::CardImage image;
    const bool loaded = image.load(inputPath);
    if (loaded == image.isEmpty())
        __builtin_trap();
    if (!loaded || qint64(image.width()) * image.height() > 1 << 20)
        return 0;
    image.convertToGrey();
    const veldra::CardImage small = image.scaledToWidth(250);
    small.smoothed().binarised();
    image.copy(image.width() / 4, image.height() / 4, image.width(), image.height() / 2)
        .binarisationThreshold();
    return 0;
}
