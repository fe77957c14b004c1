#include "lumeraxgui.h"
#include "proxystyle.h"
#include "shell/config.h"
#include "shell/singleinstance.h"
#include "shell/splash.h"

#include <QApplication>
#include <QLocale>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

using namespace veldra;

namespace {

// The message for a running instance: the last argument that starts with
// "www", as a web address; nothing else on the command line counts.
QString messageFromArguments(const QStringList& arguments)
{
    QString message;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i).startsWith(QLatin1String("www")))
            message = QStringLiteral("http://") + arguments.at(i);
    }
    return message;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    setApplicationIdentity();
    QCoreApplication::addLibraryPath(
        QStringLiteral("%1/plugins").arg(QCoreApplication::applicationDirPath()));
    QApplication::setStyle(new ProxyStyle);

    const QStringList arguments = QCoreApplication::arguments();
    const QString message = messageFromArguments(arguments);
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
