#include "panel/FileWriter.h"

#include <QSaveFile>
#include <QString>

namespace panel {

bool WriteWholeFile(const std::string& fileName, std::string_view bytes, std::string& error) {
    QSaveFile file(QString::fromStdString(fileName));
    const auto size = static_cast<qint64>(bytes.size());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size && file.commit())
        return true;
    error = "cannot write " + fileName + ": " + file.errorString().toStdString();
    file.cancelWriting();
    return false;
}

}  // namespace panel
