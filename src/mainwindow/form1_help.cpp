// The commands that lead out of the program: the help file, the about box,
// the web links of the help menu and the desktop shortcut. Each hands its
// work to the desktop (the shell port, or a file on the desktop) and reports
// nothing back: a missing help file, a browser that does not start or a
// shortcut that cannot be written passes without a message.

#include <string>

#include "mainwindow/about_dialog.h"
#include "mainwindow/desktop_entry.h"
#include "mainwindow/form1.h"
#include "mainwindow/web_links.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/program_folder.h"
#include "platform/system/shell.h"

void Form1::RunShellExecute(std::string_view, std::string_view file, std::string_view,
                            std::string_view directory, int) {
    // The shell's answer is not looked at.
    app().shell.open(file, directory);
}

void Form1::content_Click() {
    platform::BusyPointer busy(*this);
    RunShellExecute("open", app().ProgramFolder + "\\" + std::string(ProgramHelpFile), "", "C:\\",
                    1);
}

void Form1::about_Click() {
    about1 box(*this);
    box.showModal();
}

void Form1::Homepage_Click() { RunShellExecute("open", weblinks::Home, "", "", 1); }
void Form1::HomepageDownload_Click() { RunShellExecute("open", weblinks::Home, "", "", 1); }
void Form1::HomepageNewF_Click() { RunShellExecute("open", weblinks::NewFunction, "", "", 1); }
void Form1::HomepageFaq_Click() { RunShellExecute("open", weblinks::Faq, "", "", 1); }
void Form1::HomepageFaq1_Click() { RunShellExecute("open", weblinks::Home, "", "", 1); }
void Form1::HomepageFAQ2_Click() { RunShellExecute("open", weblinks::FriendLinks, "", "", 1); }
void Form1::HomepageFAQ3_Click() { RunShellExecute("open", weblinks::SiteDefault, "", "", 1); }
void Form1::HomepageFAQ4_Click() { RunShellExecute("open", weblinks::SiteNews, "", "", 1); }
void Form1::HomepageFAQ5_Click() { RunShellExecute("open", weblinks::AuthorMail, "", "", 1); }
void Form1::HomepageSoft1_Click() { RunShellExecute("open", weblinks::Soft1, "", "", 1); }
void Form1::HomepageSoft2_Click() { RunShellExecute("open", weblinks::Soft2, "", "", 1); }
void Form1::HomepageSoft3_Click() { RunShellExecute("open", weblinks::Soft3, "", "", 1); }
void Form1::HomepageSoft4_Click() { RunShellExecute("open", weblinks::Soft4, "", "", 1); }

void Form1::CreateShortcut_Click() {
    platform::BusyPointer busy(*this);
    // The shortcut starts the program on the same data: a portable folder
    // goes into its command line.
    const std::string entry =
        desktopentry::entryText(desktopentry::runningProgram(), platform::files::portableFolder());
    if (entry.empty()) return;
    // The entry is written whole, at once: there is nothing to wait for.
    // The desktop folder is made when missing, beneath the folder that holds
    // it; the entry is written beneath the desktop folder (a link of its name
    // is followed only while it stays there).
    const std::string folder = platform::system::desktopFolder();
    try {
        namespace files = platform::files;
        const std::size_t slash = folder.rfind('/');
        if (slash != std::string::npos && slash > 0 && slash + 1 < folder.size())
            files::ConfinedRoot::openNative(folder.substr(0, slash))
                .createFolders(folder.substr(slash + 1));
        files::ConfinedRoot::openNative(folder).write(desktopentry::FileName, entry,
                                                      files::OnExisting::Replace, 0755);
    } catch (const platform::Error&) {
        // No message, whatever the outcome.
    }
}
