// The toolbar dispatch: one handler for every button, by the button's key.
#include <string>

#include "mainwindow/form1.h"

void Form1::Toolbar1_ButtonClick(platform::ToolbarButton& Button) {
    // The key is compared exactly, case included; a separator or a key not
    // handled here does nothing.
    const std::string& key = Button.key();
    if (key == "maker") {
        maker_Click();
    } else if (key == "import") {
        import_Click();
    } else if (key == "export") {
        Export_Click();
    } else if (key == "changeorder") {
        ChangeOrder_Click();
    } else if (key == "grid") {
        // Pressed takes the file list's grid lines away, released brings them
        // back. The menu item's caption is not touched.
        ListView1.setGridLines(Button.value() == 0);
    }
}
