#include "lumeraxgui.h"
#include "proxystyle.h"
#include "shell/config.h"
#include "shell/singleinstance.h"
#include "shell/splash.h"
#include "shell/startupmessage.h"

#include <QApplication>
#include <QLocale>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

using namespace veldra;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    setApplicationIdentity();
    QCoreApplication::addLibraryPath(
        QStringLiteral("%1/plugins").arg(QCoreApplication::applicationDirPath()));
    QApplication::setStyle(new ProxyStyle);

    const QStringList arguments = QCoreApplication::arguments();
    const QString message = startupMessage(arguments);
    SingleInstance instance(QStringLiteral("lumerax"));
    if (instance.sendMessage(message, 5000))
        return 0;
    instance.listen(true);

    QSettings settings;
    QPointer<Splash> splash;
    if (settings.value(QStringLiteral("Splash"), true).toBool()) {
        splash = new Splash;
        splash->setPixmap(QPixmap(QStringLiteral(":/lumerax")));
        splash->show();
        QCoreApplication::processEvents();
    }

    const QString locale = QLocale::system().name();
    QTranslator qtTranslator;
    (void)qtTranslator.load(QStringLiteral(":/i18n/qt_") + locale);
    QCoreApplication::installTranslator(&qtTranslator);
    QTranslator lumeraxTranslator;
    (void)lumeraxTranslator.load(QStringLiteral(":/i18n/lumerax_") + locale);
    QCoreApplication::installTranslator(&lumeraxTranslator);

    auto* window = new LumeraxGUI;
    // The user may have clicked the splash away already.
    if (splash)
        splash->close();
    instance.setActivationWindow(window);
    return QApplication::exec();
}
