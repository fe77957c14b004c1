#include "startupmessage.h"

namespace veldra {

QString startupMessage(const QStringList& arguments)
{
    QString message;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i).startsWith(QLatin1String("www")))
            message = QStringLiteral("http://") + arguments.at(i);
    }
    return message;
}

} // namespace veldra
