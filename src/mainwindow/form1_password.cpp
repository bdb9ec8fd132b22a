// The menu item that sets a password for the program.
#include "mainwindow/form1.h"
#include "mainwindow/password_dialog.h"

void Form1::setpassword_Click() {
    Set_Password = true;
    password dialog(*this);
    dialog.showModal();
}
