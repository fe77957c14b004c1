#include "facesearchpage.h"

#include "indexing/imageloader.h"
#include "recognition/face/facelocalizer.h"
#include "recognition/face/regionrendering.h"
#include "recognitionpageframe.h"
#include "widgetbar.h"

#include <QEvent>
#include <QLabel>
#include <QToolButton>

namespace veldra {

FaceSearchPage::FaceSearchPage(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<RecognitionPageFrame>())
{
    setObjectName(QStringLiteral("FaceSearchPage"));
    d->setup(this, scrolledResultLabel(this, &m_resultLabel), "m_licenseRecognizeBar",
        "m_licenseResultBar", QStringLiteral(":/images/resources/images/facerecognition.png"));
    m_loadBtn = d->addButton(this, "m_loadBtn", false);
    m_showPixelBtn = d->addButton(this, "m_showPixelBtn", true);
    m_showCensorBtn = d->addButton(this, "m_showCensorBtn", true);
    m_showPixelBtn->hide();
    m_showCensorBtn->hide();
    retranslate();

    connect(m_loadBtn, &QToolButton::clicked, this, qOverload<>(&FaceSearchPage::recognize));
    connect(m_showPixelBtn, &QToolButton::clicked, this, &FaceSearchPage::setPixelImage);
    connect(m_showCensorBtn, &QToolButton::clicked, this, &FaceSearchPage::setPixelImage);
}

FaceSearchPage::~FaceSearchPage() = default;

WidgetBar* FaceSearchPage::recognizeBar() const
{
    return d->recognizeBar;
}

WidgetBar* FaceSearchPage::resultBar() const
{
    return d->resultBar;
}

QLabel* FaceSearchPage::sourceLabel() const
{
    return d->sourceLabel;
}

QImage FaceSearchPage::shownImage() const
{
    if (m_showPixelBtn->isChecked())
        return pixelateRegions(m_photo, m_faces, 10);
    if (m_showCensorBtn->isChecked())
        return censorRegions(m_photo, m_faces);
    return m_photo;
}

void FaceSearchPage::recognize()
{
    const QString file
        = choosePhoto(this, QStringLiteral("RecognizeFacePath"), QStringLiteral("People"));
    if (!file.isEmpty())
        recognize(file);
}

void FaceSearchPage::recognize(const QString& _fileName)
{
    m_photo = loadImage(_fileName);
    m_faces = m_photo.isNull() ? QVector<QRect>() : FaceLocalizer(25, 0.2).locate(m_photo);
    const QPixmap strip = cutoutStrip(m_photo, m_faces);
    setPixelImage();
    Q_EMIT searchFinished();

    const bool found = !m_faces.isEmpty();
    m_showPixelBtn->setVisible(found);
    m_showCensorBtn->setVisible(found);
    if (found)
        m_resultLabel->setPixmap(strip);
    else
        m_resultLabel->setText(tr("Empty :("));
}

void FaceSearchPage::setPixelImage()
{
    QObject* caller = sender();
    if (caller == m_showPixelBtn) {
        m_showCensorBtn->setChecked(false);
    } else if (caller == m_showCensorBtn) {
        m_showPixelBtn->setChecked(false);
    } else {
        m_showPixelBtn->setChecked(false);
        m_showCensorBtn->setChecked(false);
    }
    d->showPhoto(shownImage());
}

bool FaceSearchPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched->isWidgetType())
        stretchButtonPicture(static_cast<QWidget*>(watched));
    return QFrame::eventFilter(watched, event);
}

void FaceSearchPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void FaceSearchPage::retranslate()
{
    setWindowTitle(QStringLiteral("FaceSearchView"));
    m_loadBtn->setText(tr("Load photo"));
    m_showPixelBtn->setText(tr("Show pixelated image"));
    m_showCensorBtn->setText(tr("Show censored image"));
    d->recognizeBar->setText(tr("Face Localizer"));
    d->resultBar->setText(tr("Localizer Result"));
    if (m_faces.isEmpty() && !m_photo.isNull())
        m_resultLabel->setText(tr("Empty :("));
}

} // namespace veldra
