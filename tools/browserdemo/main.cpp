#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "shell/config.h"
#include "shell/lumerax.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

using namespace veldra;

namespace {

QStringList imageFiles(const QString& folder)
{
    QStringList filters;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const QByteArray& format : formats)
        filters << QStringLiteral("*.") + QString::fromLatin1(format);
    QStringList files;
    QDirIterator it(folder, filters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// Copies the pictures of a folder tree below target, keeping the tree.
QString copyTree(const QString& folder, const QString& target)
{
    const QDir source(folder);
    const QString root = target + QLatin1Char('/') + source.dirName();
    for (const QString& file : imageFiles(folder)) {
        const QString destination = root + QLatin1Char('/') + source.relativeFilePath(file);
        QDir().mkpath(QFileInfo(destination).absolutePath());
        if (!QFileInfo::exists(destination))
            QFile::copy(file, destination);
    }
    return root;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setApplicationIdentity();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the thumbnail browser. Without a folder it shows the index of the data "
        "directory; with folders it indexes their pictures into a throw-away data directory "
        "first. Dragging thumbnails between folders moves the files."));
    parser.addHelpOption();
    parser.addOption({ QStringLiteral("copy"),
        QStringLiteral("Copy the pictures into the throw-away directory first, so moves "
                       "leave the originals alone.") });
    parser.addOption({ QStringLiteral("data"),
        QStringLiteral("Keep the index of the folders in this directory (kept between runs; "
                       "pictures indexed before are skipped)."),
        QStringLiteral("directory") });
    parser.addOption(
        { QStringLiteral("grid"), QStringLiteral("Initial grid size."), QStringLiteral("pixels") });
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folders of pictures."),
        QStringLiteral("[folder...]"));
    parser.process(app);

    // Folders are indexed into a data directory of their own, never into the
    // user's index.
    std::unique_ptr<QTemporaryDir> scratch;
    QStringList folders = parser.positionalArguments();
    QString workPath;
    if (parser.isSet(QStringLiteral("data"))) {
        workPath = QDir(parser.value(QStringLiteral("data"))).absolutePath();
    } else if (!folders.isEmpty()) {
        scratch = std::make_unique<QTemporaryDir>();
        workPath = scratch->path();
    }
    if (!workPath.isEmpty()) {
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(workPath + QStringLiteral("/data")));
        if (parser.isSet(QStringLiteral("copy"))) {
            for (QString& folder : folders)
                folder = copyTree(folder, workPath + QStringLiteral("/pictures"));
        }
    }

    Lumerax* controller = Lumerax::instance();
    controller->setSetting(ThumbnailSizeSetting, 250);
    controller->setSetting(DatabaseSetting, QStringLiteral("lumerax"));
    controller->openDatabase();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Lumerax thumbnail browser"));
    auto* thumbnails = new ThumbnailWidget(&window);
    auto* model = new ThumbnailModel(&window);
    thumbnails->setModel(model);
    auto* status = new QLabel(&window);
    auto* grid = new QSlider(Qt::Horizontal, &window);
    grid->setRange(thumbnails->view()->minimumGridSize(), thumbnails->view()->maximumGridSize());
    grid->setValue(thumbnails->view()->gridSize());
    grid->setFixedWidth(200);
    QObject::connect(grid, &QSlider::valueChanged, thumbnails, &ThumbnailWidget::setGridSize);
    QObject::connect(thumbnails, &ThumbnailWidget::gridChanged, grid, &QSlider::setValue);

    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(thumbnails, 1);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(8, 4, 8, 4);
    bar->addWidget(status, 1);
    bar->addWidget(grid);
    layout->addLayout(bar);

    auto refresh = [=] {
        const QMap<QString, QStringList> all = controller->listAll();
        model->setThumbnails(all);
        int count = 0;
        for (const QStringList& list : all)
            count += int(list.size());
        status->setText(QStringLiteral("%1 pictures in %2 folders").arg(count).arg(all.size()));
    };

    // The view shows a drop at once; the index follows here. Pictures whose
    // files could not move stay where they were, so the listing is read again.
    QObject::connect(model, &ThumbnailModel::moveItems,
        [=](const QString& folder, int index, const QStringList& items) {
            const QStringList moved = controller->moveImages(folder, index, items);
            if (moved.size() != items.size()) {
                status->setText(QStringLiteral("%1 of %2 pictures could not be moved")
                                    .arg(items.size() - moved.size())
                                    .arg(items.size()));
                // After the drag has removed the source rows.
                QTimer::singleShot(0, model, refresh);
            } else {
                status->setText(
                    QStringLiteral("Moved %1 picture(s) to %2").arg(moved.size()).arg(folder));
            }
        });
    QObject::connect(thumbnails, &ThumbnailWidget::findSimilar, status,
        [=](const QString& name) { status->setText(QStringLiteral("Search similar: ") + name); });
    QObject::connect(thumbnails, &ThumbnailWidget::recognizeFaces, status,
        [=](const QString& name) { status->setText(QStringLiteral("Recognize faces: ") + name); });
    QObject::connect(thumbnails, &ThumbnailWidget::clicked, status,
        [=](const QModelIndex& folder) { status->setText(folder.data().toString()); });
    QObject::connect(controller, &Lumerax::progressValueChanged, status,
        [=](int value) { status->setText(QStringLiteral("Indexing: %1").arg(value)); });
    QObject::connect(controller, &Lumerax::indexFinished, &window, [=] {
        refresh();
        thumbnails->restoreSettings();
    });
    QObject::connect(&app, &QApplication::aboutToQuit, thumbnails, &ThumbnailWidget::saveSettings);

    if (parser.isSet(QStringLiteral("grid")))
        thumbnails->setGridSize(parser.value(QStringLiteral("grid")).toInt());

    if (folders.isEmpty()) {
        refresh();
        thumbnails->restoreSettings();
    } else {
        QStringList files;
        for (const QString& folder : std::as_const(folders))
            files << imageFiles(folder);
        status->setText(QStringLiteral("Indexing %1 pictures...").arg(files.size()));
        controller->analyze(files);
    }

    window.resize(1400, 900);
    window.show();
    return app.exec();
}
