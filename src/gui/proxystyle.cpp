#include "proxystyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QWidget>

namespace veldra {

namespace {

QString& registeredFamily()
{
    static QString family;
    return family;
}

// Widgets and painters get the application font; only a differing font is
// set, so a repaint never triggers another one.
void applyApplicationFont(const QWidget* widget, QPainter* painter)
{
    if (!widget)
        return;
    const QFont font = QApplication::font();
    if (widget->font() != font)
        const_cast<QWidget*>(widget)->setFont(font);
    if (painter)
        painter->setFont(font);
}

} // namespace

ProxyStyle::ProxyStyle(QStyle* style)
    : QProxyStyle(style)
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/fonts/visitor2.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return;
    registeredFamily() = families.first();
    QApplication::setFont(QFont(families.first(), 12));
}

QString ProxyStyle::pixelFontFamily()
{
    return registeredFamily();
}

void ProxyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
    QPainter* painter, const QWidget* widget) const
{
    applyApplicationFont(widget, painter);
    if (element == PE_PanelButtonTool)
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ProxyStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
    const QWidget* widget) const
{
    applyApplicationFont(widget, painter);
    if (element == CE_FocusFrame)
        return;
    QProxyStyle::drawControl(element, option, painter, widget);
}

} // namespace veldra
