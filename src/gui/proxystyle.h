#pragma once

#include <QProxyStyle>

namespace veldra {

// The application style: installs the embedded pixel font as the application
// font and leaves tool-button panels and focus frames undrawn, so the
// transparent buttons of the bars show only their icons and texts.
class ProxyStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Needs the application object; without the font resource the default
    // application font stays.
    explicit ProxyStyle(QStyle* style = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;

    // The family registered from the embedded font; empty when it is missing.
    static QString pixelFontFamily();
};

} // namespace veldra
