// The steps the software page's tests share: a started main window with a
// category file and record files, the tree as text, and the form's texts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/name_dialog.h"
#include "software/record_file.h"
#include "support/harness.h"
#include "support/tree_text.h"

namespace software_test {

using Strings = std::vector<std::string>;

inline constexpr const char* ClassFile = "C:\\zelbrin\\class.ini";
inline constexpr int SoftwareTab = 3;
inline constexpr std::string_view ToCategoryView = "软件按分类排列";
inline constexpr std::string_view ToAlphabeticalList = "软件按字母顺序排列";

// The text of lines, each ended by CR LF.
inline std::string lines(const Strings& l) {
    std::string text;
    for (const std::string& line : l) text += line + "\r\n";
    return text;
}

inline std::string recordPath(const std::string& name) {
    return "C:\\zelbrin\\software\\" + name + ".txt";
}

// A record's file text with the name, the category and a version.
inline std::string recordText(const std::string& name, const std::string& category,
                              const std::string& version = "1.0") {
    software::RecordValues v{};
    v[software::NameField] = name;
    v[software::CategoryField] = category;
    v[software::VersionField] = version;
    return software::formatRecordText(v);
}

class SoftwarePage : public ::testing::Test {
  protected:
    testsupport::Harness h;
    Form1& f = h.form;

    // Writes class.ini and a record file per name, starts, and shows the
    // page 软件.
    void start(const std::string& classText, const Strings& records = {}) {
        if (!classText.empty()) h.write(ClassFile, classText);
        for (const std::string& name : records) h.write(recordPath(name), recordText(name, ""));
        h.start();
        f.TabStrip1.userSelect(SoftwareTab);
    }

    // The tree as "parent>text [key] image" lines.
    Strings tree() const { return testsupport::describeTree(f.TreeView3); }

    void categoryView() {
        ASSERT_EQ(f.softlist.caption(), ToCategoryView);
        f.softlist.userClick();
    }

    void click(const std::string& key) { f.TreeView3.userClickNode(f.TreeView3.item(key)); }

    // The twelve fields' texts in the record's order.
    Strings form() {
        const auto texts = f.softwareFormTexts();
        return {texts.begin(), texts.end()};
    }

    // A new record named through the name dialog.
    void newRecord(const std::string& name) {
        h.ui.onModal<Dialog1>([name](Dialog1& d) {
            d.Text1.userType(name);
            d.OKButton.userClick();
        });
        f.NewSoft.userClick();
    }

    // The save confirmed by Yes to the question.
    void save(const std::string& question) {
        h.ui.answerMsgBox(platform::MsgYes, question);
        f.SaveSoft.userClick();
    }
};

}  // namespace software_test
