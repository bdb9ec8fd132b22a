// The program's own folder (`ProgramFolder`) and its configuration folder.
//
// With the environment variable ZELBRIN_HOME set, both are that folder: a
// portable install, and how tests isolate themselves. Otherwise the data live
// in $XDG_DATA_HOME/zelbrin (~/.local/share/zelbrin) and the configuration
// (drives.ini, the registry and settings stores) in $XDG_CONFIG_HOME/zelbrin
// (~/.config/zelbrin).
#pragma once

#include <string>

namespace platform::files {

// The native data folder.
std::string dataFolder();
// The portable folder ZELBRIN_HOME names, as the data folder takes it
// (absolute, no final "/"); "" when the data folder is not chosen that way.
std::string portableFolder();
// The native configuration folder.
std::string configFolder();

// The data folder in Windows form, as the program uses it ("C:\.local\share\zelbrin";
// no final "\"). When no drive of the table holds the folder, a free letter
// (from "Y:" down) is added to the current table for it.
std::string ProgramFolder();

// The read-only resources installed beside the executable: the folder
// "resources" next to it.
std::string resourcesFolder();

// Copies every file and folder of the resources into the data folder where it
// is missing; nothing present is overwritten. Returns the number of files copied.
int installResources(const std::string& resources, const std::string& data);

// Creates the data and configuration folders when missing and installs the
// resources from beside the executable.
void prepareProgramFolder();

}  // namespace platform::files
