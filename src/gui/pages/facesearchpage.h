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

// Finds the faces in a photograph: the photo, the faces cut out side by side,
// and two toggles that show it pixelated or censored instead.
class FaceSearchPage : public QFrame
{
    Q_OBJECT

public:
    explicit FaceSearchPage(QWidget* parent = nullptr);
    ~FaceSearchPage() override;

    QImage photo() const { return m_photo; }
    QVector<QRect> faces() const { return m_faces; }
    // The picture the photo label shows, at full size.
    QImage shownImage() const;

    WidgetBar* recognizeBar() const;
    WidgetBar* resultBar() const;
    QLabel* sourceLabel() const;
    QLabel* resultLabel() const { return m_resultLabel; }
    QToolButton* loadButton() const { return m_loadBtn; }
    QToolButton* pixelButton() const { return m_showPixelBtn; }
    QToolButton* censorButton() const { return m_showCensorBtn; }

Q_SIGNALS:
    void searchFinished();

public Q_SLOTS:
    // Loads the photograph upright and finds its faces.
    void recognize(const QString& _fileName);
    // Asks for a photograph and recognises it.
    void recognize();
    // Shows the photo plain, pixelated or censored as the toggles say; a
    // toggle that is switched on switches the other one off.
    void setPixelImage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    std::unique_ptr<RecognitionPageFrame> d;
    QLabel* m_resultLabel = nullptr;
    QToolButton* m_loadBtn = nullptr;
    QToolButton* m_showPixelBtn = nullptr;
    QToolButton* m_showCensorBtn = nullptr;
    QImage m_photo;
    QVector<QRect> m_faces;
};

} // namespace veldra
