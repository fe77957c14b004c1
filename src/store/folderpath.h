#pragma once

#include <QString>

namespace veldra {

// The one place where folder paths are converted between the absolute form
// and the form stored in table folder. The stored form is the path relative to
// the application directory with a leading "/" ("/Images/People"; "" for the
// application directory itself); folders elsewhere climb out with ".."
// ("/../../home/anna/Photos"), so application directory + stored form always
// names the folder.
QString storedFolderPath(const QString& absoluteFolder);
QString absoluteFolderPath(const QString& storedFolder);

} // namespace veldra
