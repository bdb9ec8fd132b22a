// Helpers of the tests of the main window's geometry: a table of expected
// rectangles, the page shown, and a resize that always runs.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "mainwindow/form1.h"

namespace testsupport {

// A control's expected rectangle, by the control's name (twips).
struct Rect {
    const char* control;
    double left, top, width, height;
};

inline void expectGeometry(const platform::Form& f, std::initializer_list<Rect> table) {
    for (const Rect& r : table) {
        const platform::Control* c = f.find(r.control);
        ASSERT_NE(c, nullptr) << r.control;
        EXPECT_EQ(c->left(), r.left) << r.control << " left";
        EXPECT_EQ(c->top(), r.top) << r.control << " top";
        EXPECT_EQ(c->width(), r.width) << r.control << " width";
        EXPECT_EQ(c->height(), r.height) << r.control << " height";
    }
}

// Shows the page's tree and hides the other three (a page is told by the
// visibility of its tree).
inline void showPage(Form1& f, platform::TreeView& page) {
    for (platform::TreeView* tree : {&f.TreeView1, &f.TreeView2, &f.TreeView3, &f.TreeView4})
        tree->setVisible(tree == &page);
}

// The user resizes the window to the size, passing through another one first
// so that the resize event runs even when the window already has that size.
inline void resizeTo(Form1& f, double width, double height,
                     platform::WindowState state = platform::WindowState::Normal) {
    f.userResize(width + 300, height + 300, platform::WindowState::Normal);
    f.userResize(width, height, state);
}

}  // namespace testsupport
