#pragma once

#include <QFrame>
#include <QImage>
#include <QRect>
#include <QVector>

#include <memory>

class QLabel;
class QToolButton;

namespace veldra {

struct RecognitionPageFrame;
class WidgetBar;

// Finds the number plates in a photograph of a car: the photo, the plates cut
// out side by side, and a toggle that pixelates them in the photo.
class LicensePlatePage : public QFrame
{
    Q_OBJECT

public:
    explicit LicensePlatePage(QWidget* parent = nullptr);
    ~LicensePlatePage() override;

    // Loads the photograph upright, reduced to fit 640 x 480, and finds its
    // plates.
    void recognizeFile(const QString& fileName);

    QImage photo() const { return m_photo; }
    QVector<QRect> plates() const { return m_plates; }
    QImage shownImage() const;

    WidgetBar* recognizeBar() const;
    WidgetBar* resultBar() const;
    QLabel* sourceLabel() const;
    QLabel* resultLabel() const { return m_resultLabel; }
    QToolButton* loadButton() const { return m_loadBtn; }
    QToolButton* pixelButton() const { return m_showPixelBtn; }

public Q_SLOTS:
    // Asks for a photograph and recognises it.
    void recognize();
    void setPixelImage(bool _checked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    std::unique_ptr<RecognitionPageFrame> d;
    QLabel* m_resultLabel = nullptr;
    QToolButton* m_loadBtn = nullptr;
    QToolButton* m_showPixelBtn = nullptr;
    QImage m_photo;
    QVector<QRect> m_plates;
};

} // namespace veldra
