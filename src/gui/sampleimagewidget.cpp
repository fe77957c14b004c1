#include "sampleimagewidget.h"

#include "indexing/imageloader.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace veldra {

SampleImageWidget::SampleImageWidget(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SampleImageWidget"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(16);
    m_imageLbl = new QLabel(this);
    m_imageLbl->setObjectName(QStringLiteral("m_imageLbl"));
    m_imageLbl->setMinimumHeight(sampleHeight);
    m_imageLbl->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_fileNameLbl = new QLabel(this);
    m_fileNameLbl->setObjectName(QStringLiteral("m_fileNameLbl"));
    m_fileNameLbl->setWordWrap(true);
    m_fileNameLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_fileNameLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_imageLbl);
    layout->addWidget(m_fileNameLbl, 1);
}

void SampleImageWidget::showImage(const QString& path)
{
    const QImage image = loadImage(path);
    if (image.isNull())
        m_imageLbl->setPixmap(QPixmap());
    else
        m_imageLbl->setPixmap(
            QPixmap::fromImage(image.scaledToHeight(sampleHeight, Qt::SmoothTransformation)));
    m_fileNameLbl->setText(path);
}

QString SampleImageWidget::fileName() const
{
    return m_fileNameLbl->text();
}

} // namespace veldra
