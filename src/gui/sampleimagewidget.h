#pragma once

#include <QWidget>

class QLabel;

namespace veldra {

// The sample of the similarity search: the picture and its path side by side.
class SampleImageWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int sampleHeight = 300;

    explicit SampleImageWidget(QWidget* parent = nullptr);

    // Shows the picture at path upright and 300 pixels high; an unreadable
    // file leaves the picture empty but still shows the path.
    void showImage(const QString& path);
    QString fileName() const;

    QLabel* imageLabel() const { return m_imageLbl; }
    QLabel* fileNameLabel() const { return m_fileNameLbl; }

private:
    QLabel* m_imageLbl = nullptr;
    QLabel* m_fileNameLbl = nullptr;
};

} // namespace veldra
