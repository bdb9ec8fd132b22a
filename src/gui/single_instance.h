// One window per program folder: the running program listens on a local
// socket named after its folder; a second start on that folder asks it to
// come to the front and ends (main.cpp holds the folder's lock,
// platform/files/instance_lock.h).
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace gui {

// The name of the local socket of the program on a folder: derived from the
// folder's resolved path (a hash) and the user, so that programs on
// different folders, or of different users, never meet.
QString instanceServerName(const std::string& resolvedFolder);

// The running program's side. Each start that asks is answered at once and
// toFront runs.
class InstanceServer : public QObject {
  public:
    // Listens on name; a socket left by a program that died is replaced
    // (the caller holds the folder's lock, so no program of that folder is
    // listening).
    InstanceServer(const QString& name, std::function<void()> toFront);
    bool listening() const { return server_.isListening(); }

  private:
    QLocalServer server_;
    std::function<void()> toFront_;
};

// A second start's side: asks the program listening on name to come to the
// front. True when it answered within timeoutMs (connecting is tried again
// meanwhile, while the first program is still starting).
bool askToFront(const QString& name, int timeoutMs = 5000);

// Brings a window to the front: its normal size when it is minimised,
// raised, activated.
void bringToFront(QWidget* window);

}  // namespace gui
