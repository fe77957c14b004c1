#pragma once

#include <QAbstractItemModel>
#include <QApplication>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

namespace veldra::test {

// Shows a widget and waits until it is on the screen.
inline bool exposed(QWidget* widget)
{
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

// The widget and its children drawn onto a background.
inline QImage rendered(QWidget* widget, const QColor& background = Qt::transparent)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(background);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A turn of the wheel in the middle of the widget; 120 is one notch away
// from the user.
inline void turnWheel(QWidget* widget, int delta, Qt::KeyboardModifiers modifiers = {})
{
    const QPointF pos = QRectF(widget->rect()).center();
    QWheelEvent event(pos, widget->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
        modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Hands the next modal dialog of type T, once it is open, to answer.
template <typename T, typename F> void whenModal(F answer)
{
    QTimer::singleShot(0, [=] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            answer(dialog);
        else
            whenModal<T>(answer);
    });
}

// The texts of the rows under parent; deep, each followed by those of its rows.
inline QStringList texts(
    const QAbstractItemModel* model, const QModelIndex& parent = {}, bool deep = false)
{
    QStringList result;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        result << model->index(row, 0, parent).data().toString();
        if (deep)
            result << texts(model, model->index(row, 0, parent));
    }
    return result;
}

// Picture files of chosen sizes and colours in a temporary directory.
class Pictures
{
public:
    // Writes name.png of the given size filled with colour; returns its path.
    QString add(const QString& name, int width, int height, const QColor& color = Qt::blue)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        image.save(path);
        return path;
    }

    // Folders "/photos/fNN", each with perFolder square pictures of one file;
    // distinct names end in "?folder_row".
    QMap<QString, QStringList> grid(int folders, int perFolder, bool distinct = false)
    {
        const QString picture = add(QStringLiteral("square"), 100, 100);
        QMap<QString, QStringList> map;
        for (int f = 0; f < folders; ++f) {
            QStringList& names = map[QStringLiteral("/photos/f%1").arg(f, 2, 10, QLatin1Char('0'))];
            for (int i = 0; i < perFolder; ++i)
                names << picture + (distinct ? QStringLiteral("?%1_%2").arg(f).arg(i) : QString());
        }
        return map;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace veldra::test
