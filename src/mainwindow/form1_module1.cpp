// The Module1 of the run, made on first use.
#include <memory>

#include "mainwindow/form1.h"
#include "mainwindow/module1.h"

Module1& Form1::module1() {
    if (!module1_) module1_ = std::make_unique<Module1>(app().registry, ui());
    return *module1_;
}
