// The EXIF reader and the JPEG completeness check on arbitrary bytes.
#include "indexing/imageloader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const veldra::ExifInfo info = veldra::readExif(bytes);
    if (info.orientation < 0 || info.orientation > 8 || (!info.found && info.orientation != 0))
        __builtin_trap();
    veldra::isCompleteJpeg(bytes);
    return 0;
}
