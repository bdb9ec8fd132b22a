// Everything outside the process that the main window and its dialogs reach:
// the windowing system and the timers (platform::Services), and the
// registry, settings store, shell, clipboard, clock and multimedia command
// port, plus the program's own folder. The desktop front end hands in the
// real ones, the test harness in-memory and recording ones.
//
// Files are not here: paths go through the process-wide drive table of
// platform/files, which tests replace. Media players take their engines from
// platform::setMediaEngineFactory.
#pragma once

#include <string>

#include "platform/controls/form.h"

namespace platform::system {
class Clipboard;
class Clock;
class Mci;
class RegistryStore;
class SettingsStore;
class Shell;
}  // namespace platform::system

struct AppServices : platform::Services {
    platform::system::RegistryStore& registry;
    platform::system::SettingsStore& settings;
    platform::system::Shell& shell;
    platform::system::Clipboard& clipboard;
    platform::system::Clock& clock;
    platform::system::Mci& mci;
    // The program's folder in Windows form, without a final "\" ("C:\zelbrin").
    std::string ProgramFolder;
};
