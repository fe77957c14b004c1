// Arbitrary drag payloads dropped on the thumbnail model: one byte choosing
// the folder, one the row (-1 included), then the "application/lumerax" bytes.
#include "gui/browser/thumbnailmodel.h"

#include <QGuiApplication>
#include <QMimeData>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    veldra::ThumbnailModel model;
    model.setThumbnails({ { "/photos/a", { "/data/1.jpg", "/data/2.jpg", "/data/3.jpg" } },
        { "/photos/b", { "/data/4.png" } } });
    const QModelIndex folder = model.index(data[0] % 3, 0); // the third is invalid: the root
    const int row = int(data[1] % 8) - 1;
    QMimeData payload;
    payload.setData("application/lumerax",
        QByteArray(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)));
    const int before = model.rowCount(folder);
    const bool dropped = model.dropMimeData(&payload, Qt::MoveAction, row, 0, folder);
    if (!dropped && model.rowCount(folder) != before)
        __builtin_trap();
    for (int f = 0; f < model.rowCount(); ++f) {
        const QModelIndex parent = model.index(f, 0);
        for (int r = 0; r < model.rowCount(parent); ++r)
            if (model.index(r, 0, parent).parent() != parent)
                __builtin_trap();
    }
    return 0;
}
