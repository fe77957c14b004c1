#include "recognitionpageframe.h"

#include "guiresources.h"
#include "layoutanimation.h"
#include "shell/config.h"
#include "stylesheets.h"
#include "widgetbar.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSignalMapper>
#include <QToolButton>
#include <QVBoxLayout>

namespace veldra {

void RecognitionPageFrame::setup(QFrame* page, QWidget* result, const char* recognizeBarName,
    const char* resultBarName, const QString& placeholder)
{
    initGuiResources();
    verticalLayout = new QVBoxLayout(page);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    verticalLayout->setSpacing(0);

    recognizeBar = new WidgetBar(page);
    recognizeBar->setObjectName(QLatin1String(recognizeBarName));
    recognizeBar->setStyleSheet(searchBarStyleSheet());
    recognizeBar->setToggleButtonVisible(true);
    recognizeBar->setFixedHeight(26);

    loadForm = new QWidget(page);
    loadForm->setObjectName(QStringLiteral("m_loadForm"));
    loadFormLayout = new QVBoxLayout(loadForm);
    loadFormLayout->setObjectName(QStringLiteral("m_loadFormLayout"));
    loadFormLayout->setContentsMargins(9, 12, 9, 12);
    loadFormLayout->setSpacing(10);
    sourceLabel = new QLabel(loadForm);
    sourceLabel->setObjectName(QStringLiteral("m_sourceLabel"));
    sourceLabel->setAlignment(Qt::AlignCenter);
    sourceLabel->setMinimumHeight(220);
    sourceLabel->setPixmap(QPixmap(placeholder));
    buttonLayout = new QHBoxLayout;
    buttonLayout->setObjectName(QStringLiteral("horizontalLayout"));
    buttonLayout->setSpacing(12);
    buttonLayout->addStretch(1);
    buttonLayout->addStretch(1);
    loadFormLayout->addWidget(sourceLabel);
    loadFormLayout->addLayout(buttonLayout);

    resultBar = new WidgetBar(page);
    resultBar->setObjectName(QLatin1String(resultBarName));
    resultBar->setStyleSheet(resultBarStyleSheet());
    resultBar->setFixedHeight(26);

    verticalLayout->addWidget(recognizeBar);
    verticalLayout->addWidget(loadForm);
    verticalLayout->addSpacing(6);
    verticalLayout->addWidget(resultBar);
    verticalLayout->addWidget(result, 1);

    // Clicking the bar folds the photo and its buttons in or out.
    animation = new LayoutAnimation(verticalLayout, page);
    auto* mapper = new QSignalMapper(page);
    mapper->setMapping(recognizeBar, loadForm);
    QObject::connect(recognizeBar, &WidgetBar::clicked, mapper, qOverload<>(&QSignalMapper::map));
    LayoutAnimation* folding = animation;
    QObject::connect(mapper, &QSignalMapper::mappedObject, folding,
        [folding](QObject* widget) { folding->toggleWidget(qobject_cast<QWidget*>(widget)); });
}

QToolButton* RecognitionPageFrame::addButton(QObject* filter, const char* name, bool checkable)
{
    auto* button = new QToolButton(loadForm);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(checkable);
    button->setMinimumSize(170, 30);
    button->setAutoFillBackground(true);
    button->setCursor(Qt::PointingHandCursor);
    // The style draws no button panels: the picture behind the text is the
    // button, and a checked toggle shows by its text.
    const auto colourText = [button](bool checked) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, checked ? QColor(190, 70, 0) : QColor(34, 34, 34));
        button->setPalette(palette);
        QFont font = button->font();
        font.setBold(checked);
        button->setFont(font);
    };
    colourText(false);
    QObject::connect(button, &QToolButton::toggled, button, colourText);
    button->installEventFilter(filter);
    // Between the two stretches, so the buttons stay centred.
    buttonLayout->insertWidget(buttonLayout->count() - 1, button);
    return button;
}

void RecognitionPageFrame::showPhoto(const QImage& photo)
{
    if (photo.isNull()) {
        sourceLabel->setPixmap(QPixmap());
        return;
    }
    sourceLabel->setPixmap(
        QPixmap::fromImage(photo.scaled(300, 300, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QScrollArea* scrolledResultLabel(QWidget* page, QLabel** label)
{
    auto* area = new QScrollArea(page);
    area->setObjectName(QStringLiteral("m_resultArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    *label = new QLabel;
    (*label)->setObjectName(QStringLiteral("m_resultLabel"));
    (*label)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (*label)->setMargin(9);
    area->setWidget(*label);
    area->viewport()->setAutoFillBackground(false);
    (*label)->setAutoFillBackground(false);
    return area;
}

void stretchButtonPicture(QWidget* widget)
{
    const QPixmap picture(QStringLiteral(":/resources/button.png"));
    if (picture.isNull() || widget->size().isEmpty())
        return;
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Window,
        picture.scaled(widget->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    palette.setBrush(QPalette::Button, palette.brush(QPalette::Window));
    widget->setPalette(palette);
}

QPixmap cutoutStrip(const QImage& photo, const QVector<QRect>& regions)
{
    QVector<QImage> cutouts;
    int width = 0;
    int height = 0;
    for (const QRect& region : regions) {
        const QImage cutout = photo.copy(region);
        if (cutout.isNull())
            continue;
        cutouts << cutout;
        width += cutout.width();
        height = std::max(height, cutout.height());
    }
    if (cutouts.isEmpty())
        return {};
    QPixmap strip(width, height);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    int x = 0;
    for (const QImage& cutout : std::as_const(cutouts)) {
        painter.drawImage(x, 0, cutout);
        x += cutout.width();
    }
    return strip;
}

QString choosePhoto(QWidget* parent, const QString& key, const QString& defaultFolder)
{
    Config* config = Config::instance();
    const QString group = QStringLiteral("Lumerax");
    QString startFolder = config->value(group, key).toString();
    if (startFolder.isEmpty())
        startFolder
            = QCoreApplication::applicationDirPath() + QStringLiteral("/Images/") + defaultFolder;
    const QString file = QFileDialog::getOpenFileName(parent,
        QCoreApplication::translate("veldra::RecognitionPage", "Open Image - %1")
            .arg(QCoreApplication::organizationName()),
        startFolder,
        QCoreApplication::translate("veldra::RecognitionPage", "Images (*.png *.xpm *.jpg)"));
    if (file.isEmpty())
        return {};
    config->setValue(group, key, QFileInfo(file).absolutePath());
    return file;
}

} // namespace veldra
