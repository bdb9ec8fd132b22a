// Software filing benchmark: 整理归类新导入的外来软件 on a software folder of
// 1,000 and of 10,000 record files, on the main window of the test harness's
// temporary machine, as a user runs it (the question answered Yes).
//
// class.ini holds 50 top categories, each with a second- and a third-level
// category, and the lines of every tenth record (filed already). The other
// records name a top category, a second-level one, a third-level one, a
// category the file does not hold (the catch-all) or none, in turn.
//
// Each size is filed once to warm up, then several times from the same
// class.ini; the median time of the command per record file is printed for
// each size, with the ratio of the two (1.0: the time grows with the number
// of records alone).
//
// Usage: bench_software_filing [runs]   (default 5)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "software/record_file.h"
#include "support/harness.h"

namespace {

constexpr int Categories = 50;
constexpr int FiledEvery = 10;
constexpr const char* ClassFile = "C:\\zelbrin\\class.ini";
constexpr const char* Ready =
    "在点击这个菜单之前，你必须把新得到软件说明文件放在[software]文件夹下，这些工作做好了吗？";

std::string recordName(int i) { return (i % 2 ? "软件" : "Soft") + std::to_string(i); }

// The category value of record i ("" for a record without one).
std::string categoryOf(int i) {
    const std::string c = std::to_string(i % Categories);
    switch (i % 5) {
        case 0:
            return "工具" + c;
        case 1:
            return "工具" + c + "\\网络" + c;
        case 2:
            return "工具" + c + "\\网络" + c + "\\下载" + c;
        case 3:
            return "无此类" + c;
        default:
            return {};
    }
}

// The software folder of n records and the class.ini they start from.
std::string makeRecords(testsupport::Harness& h, int n) {
    std::vector<std::string> filed(Categories);
    for (int i = 0; i < n; ++i) {
        software::RecordValues v{};
        v[software::NameField] = recordName(i);
        v[software::VersionField] = "1.0";
        v[software::DescriptionField] = "一个软件的说明";
        std::string text = software::formatRecordText(v);
        const std::string category = categoryOf(i);
        if (category.empty())
            text.erase(text.find("软件分类："), std::string("软件分类：\r\n").size());
        else
            text.insert(text.find("软件分类：") + std::string("软件分类：").size(), category);
        h.write("C:\\zelbrin\\software\\" + recordName(i) + ".txt", text);
        if (i % FiledEvery == 0) filed[i % Categories] += "{#$}" + recordName(i) + "\r\n";
    }
    std::string classText;
    for (int c = 0; c < Categories; ++c) {
        const std::string s = std::to_string(c);
        classText += "==工具" + s + "\r\n" + filed[c] + "=网络" + s + "\r\n下载" + s + "\r\n";
    }
    return classText;
}

double fileOnce(testsupport::Harness& h, const std::string& classText) {
    h.write(ClassFile, classText);
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    const auto t0 = std::chrono::steady_clock::now();
    h.form.ClassSoft1.userClick();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The median time per record of filing n records, in ms.
double perRecord(int n, int runs) {
    testsupport::Harness h;
    const std::string classText = makeRecords(h, n);
    h.start();
    h.form.TabStrip1.userSelect(3);  // the alphabetical list: no closing message
    fileOnce(h, classText);          // warm-up
    const std::size_t bytes = h.read(ClassFile).size();
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) ms.push_back(fileOnce(h, classText));
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf(
        "%6d records  median %9.2f ms  fastest %9.2f ms  %.4f ms per record"
        "  (class.ini %zu bytes after)\n",
        n, median, ms.front(), median / n, bytes);
    return median / n;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const double small = perRecord(1000, runs);
    const double large = perRecord(10000, runs);
    std::printf("time per record at 10,000 / at 1,000: %.2fx (goal: within 1.5x)\n", large / small);
    return 0;
}
