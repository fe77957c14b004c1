#pragma once

#include <QString>
#include <QStringList>

namespace veldra {

// The message a start hands to the running instance: "http://" and the last
// argument after the program path that starts with "www" (case matters);
// empty when none does. Nothing else on the command line counts.
QString startupMessage(const QStringList& arguments);

} // namespace veldra
