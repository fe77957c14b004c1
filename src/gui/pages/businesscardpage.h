#pragma once

#include <QFrame>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListView;
class QStringListModel;
class QToolButton;
template <typename T> class QFutureWatcher;

namespace veldra {

class BCR;
struct RecognitionPageFrame;
class WidgetBar;

// Reads a photographed business card on a worker thread and lists its lines.
class BusinessCardPage : public QFrame
{
    Q_OBJECT

public:
    explicit BusinessCardPage(QWidget* parent = nullptr);
    ~BusinessCardPage() override;

    // Shows the photo and starts reading it; a running reading is cancelled
    // and waited for first.
    void recognizeFile(const QString& fileName);
    // The recogniser; null before the first reading.
    BCR* recognizer() const { return m_recognizer.get(); }
    bool isWorking() const;
    QStringList resultLines() const;

    WidgetBar* recognizeBar() const;
    WidgetBar* resultBar() const;
    QLabel* photoLabel() const;
    QToolButton* loadButton() const { return m_businessBtn; }
    QListView* resultView() const { return m_view; }

Q_SIGNALS:
    // The lines of a reading are shown.
    void recognized();

public Q_SLOTS:
    // Asks for a photo and reads it.
    void recognize();
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    std::unique_ptr<RecognitionPageFrame> d;
    std::unique_ptr<BCR> m_recognizer;
    QStringListModel* m_model = nullptr;
    QFutureWatcher<std::vector<std::string>>* m_watcher = nullptr;
    QToolButton* m_businessBtn = nullptr;
    QListView* m_view = nullptr;
};

} // namespace veldra
