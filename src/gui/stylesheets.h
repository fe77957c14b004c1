#pragma once

#include <QString>

namespace veldra {

// Family of the embedded pixel font (DotGothic16); every style sheet that
// names the pixel font names this family.
inline constexpr auto pixelFontFamily = "DotGothic16";

// Shared by the title bar, the tool bar and the tab widget: frames drawn by
// nothing but their children.
inline constexpr auto transparentFrameSheet
    = "QFrame { border: 0px solid transparent; background: transparent; }";

// The clickable bar over a search page's input controls.
inline QString searchBarStyleSheet()
{
    return QStringLiteral("QFrame {\t\n\tbackground-color: qlineargradient(x1: 0, y1: 0, x2: 1, "
                          "y2: 0,stop: 0 rgb(150, 150, 150), stop: 1 rgb(222, 222, 222));\n"
                          "    border-top-left-radius: 5px;\n    border-top-right-radius: 5px;\n"
                          "\tfont: 12pt \"%1\";\n}"
                          "QToolButton:!checked {\n\tbackground-image: "
                          "url(:/widgetbar/resources/auf.png);\n}"
                          "QToolButton::checked {\n\tbackground-image: "
                          "url(:/widgetbar/resources/zu.png);\n}"
                          "QToolButton {\n\tborder: 0px solid transparent;\n\tbackground-color: "
                          "transparent;\n\tbackground-repeat: no-repeat;\n\tbackground-position: "
                          "center;\n}"
                          "QLabel {\n\tcolor: rgb(255, 255, 255);\n\tbackground: transparent;\n}")
        .arg(QLatin1String(pixelFontFamily));
}

// The bar over a page's results: the search bar without rounded corners.
inline QString resultBarStyleSheet()
{
    return searchBarStyleSheet().remove(
        QStringLiteral("    border-top-left-radius: 5px;\n    border-top-right-radius: 5px;\n"));
}

} // namespace veldra
