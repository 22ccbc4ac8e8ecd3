#include "gui/rain/RainfallFile.h"

#include "core/Error.h"
#include "core/rain/RainMessages.h"

#include <QFile>

namespace pluvane::gui {

namespace {

// A published table is a few kilobytes; anything this large is not one, and reading it whole
// would only stall the program.
constexpr qint64 kLargestTableFile = 4 * 1024 * 1024;

} // namespace

ImportedTable ReadRainfallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            RainfallFileUnreadableMessage(path.toStdString(), file.errorString().toStdString()));
    if (file.size() > kLargestTableFile)
        throw Error(RainfallFileTooLargeMessage(path.toStdString()));
    return ImportRainfallFile(file.readAll().toStdString());
}

} // namespace pluvane::gui
