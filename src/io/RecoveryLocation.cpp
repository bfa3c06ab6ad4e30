#include "io/RecoveryLocation.h"

#include <QDir>
#include <QStandardPaths>

namespace vekaton {

QString RecoveryFolder() {
    // The window's own data folder (organisation and program both "Vekaton"), spelt out so that
    // a program of another name finds the same folder.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath("Vekaton/Vekaton/recovery");
}

}  // namespace vekaton
