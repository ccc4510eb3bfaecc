// SPDX-License-Identifier: MIT
#include <QProcess>
#include <QStandardPaths>

#include "platform/process_starter.h"

namespace tikora {

std::string FindProgram(const std::string& program) {
    return QStandardPaths::findExecutable(QString::fromStdString(program)).toStdString();
}

bool StartDetached(const std::string& path, const std::vector<std::string>& arguments) {
    QStringList texts;
    for (const std::string& argument : arguments) {
        texts << QString::fromStdString(argument);
    }
    return QProcess::startDetached(QString::fromStdString(path), texts);
}

}  // namespace tikora
