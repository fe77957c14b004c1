#pragma once

#include <QFrame>

#include <memory>

class QLabel;
class QToolButton;

namespace veldra {

class TopBarPrivate;

// The title bar of the frameless main window: logo, "Add images", the three
// frame buttons, moving the window by dragging, and a reflection of the bar
// fading out below it.
class TopBar : public QFrame
{
    Q_OBJECT

public:
    explicit TopBar(QWidget* parent = nullptr);
    ~TopBar() override;

    // The window the bar moves, minimises, maximises and closes.
    void setWindow(QWidget* window);
    QWidget* window() const;

    QToolButton* addButton() const;
    QToolButton* minimizeButton() const;
    QToolButton* maximizeButton() const;
    QToolButton* closeButton() const;
    QLabel* mirror() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private Q_SLOTS:
    void updateMirror();
    void frameButtonClicked(int _btn);

private:
    void updateMaximizeButton();

    std::unique_ptr<TopBarPrivate> d;
};

} // namespace veldra
