#include "licenseplatepage.h"

#include "indexing/imageloader.h"
#include "recognition/face/regionrendering.h"
#include "recognition/plate/platelocator.h"
#include "recognitionpageframe.h"
#include "widgetbar.h"

#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

namespace veldra {

LicensePlatePage::LicensePlatePage(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<RecognitionPageFrame>())
{
    setObjectName(QStringLiteral("LicensePlatePage"));
    d->setup(this, scrolledResultLabel(this, &m_resultLabel), "m_licenseRecognizeBar",
        "m_licenseResultBar", QStringLiteral(":/images/numberplate.png"));
    m_loadBtn = d->addButton(this, "m_loadBtn", false);
    m_showPixelBtn = d->addButton(this, "m_showPixelBtn", true);
    m_showPixelBtn->hide();
    retranslate();

    connect(m_loadBtn, &QToolButton::clicked, this, &LicensePlatePage::recognize);
    connect(m_showPixelBtn, &QToolButton::toggled, this, &LicensePlatePage::setPixelImage);
}

LicensePlatePage::~LicensePlatePage() = default;

WidgetBar* LicensePlatePage::recognizeBar() const
{
    return d->recognizeBar;
}

WidgetBar* LicensePlatePage::resultBar() const
{
    return d->resultBar;
}

QLabel* LicensePlatePage::sourceLabel() const
{
    return d->sourceLabel;
}

QImage LicensePlatePage::shownImage() const
{
    return m_showPixelBtn->isChecked() ? pixelateRegions(m_photo, m_plates, 10) : m_photo;
}

void LicensePlatePage::recognize()
{
    const QString file = choosePhoto(
        this, QStringLiteral("RecognizeLicensePath"), QStringLiteral("Licenceplates"));
    if (!file.isEmpty())
        recognizeFile(file);
}

void LicensePlatePage::recognizeFile(const QString& fileName)
{
    m_photo = loadImage(fileName);
    if (m_photo.width() > 640 || m_photo.height() > 480)
        m_photo = m_photo.scaled(640, 480, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_plates = m_photo.isNull() ? QVector<QRect>() : PlateLocator::locate(m_photo);
    const QPixmap strip = cutoutStrip(m_photo, m_plates);

    {
        // Each new photo starts plain; blocked so it is drawn only once.
        const QSignalBlocker blocker(m_showPixelBtn);
        m_showPixelBtn->setChecked(false);
    }
    if (m_plates.isEmpty()) {
        m_showPixelBtn->hide();
        m_resultLabel->setText(tr("Empty :("));
    } else {
        m_showPixelBtn->show();
        m_resultLabel->setPixmap(strip);
    }
    setPixelImage(false);
}

void LicensePlatePage::setPixelImage(bool _checked)
{
    d->showPhoto(_checked ? pixelateRegions(m_photo, m_plates, 10) : m_photo);
}

bool LicensePlatePage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched->isWidgetType())
        stretchButtonPicture(static_cast<QWidget*>(watched));
    return QFrame::eventFilter(watched, event);
}

void LicensePlatePage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void LicensePlatePage::retranslate()
{
    setWindowTitle(QStringLiteral("NumberPlatePage"));
    m_loadBtn->setText(tr("Load photo"));
    m_showPixelBtn->setText(tr("Show pixelated image"));
    d->recognizeBar->setText(tr("Number Plate OCR"));
    d->resultBar->setText(tr("OCR Result"));
    if (m_plates.isEmpty() && !m_photo.isNull())
        m_resultLabel->setText(tr("Empty :("));
}

} // namespace veldra
