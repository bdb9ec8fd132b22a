// The software record form: its twelve fields, a click in the software tree
// (a category chooses the form's category, a record is loaded), and the
// record reader.
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "software/record_file.h"

std::array<std::string, 12> Form1::softwareFormTexts() {
    return {SoftNameT.text(),     SoftVersionT.text(),  SoftKindT.text(),
            SoftSizeT.text(),     SoftAuthorT.text(),   EmailAddressT.text(),
            SoftCategoryT.text(), RegisterCodeT.text(), SoftHomepageT.text(),
            DownloadingT.text(),  SoftRankT.text(),     SoftDescriptionT.text()};
}

void Form1::setSoftwareFormTexts(const std::array<std::string, 12>& texts) {
    platform::TextBox* boxes[] = {&SoftNameT,     &SoftVersionT,  &SoftKindT,
                                  &SoftSizeT,     &SoftAuthorT,   &EmailAddressT,
                                  &SoftCategoryT, &RegisterCodeT, &SoftHomepageT,
                                  &DownloadingT,  nullptr,        &SoftDescriptionT};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (boxes[i])
            boxes[i]->setText(texts[i]);
        else
            SoftRankT.setText(texts[i]);
    }
}

void Form1::TreeView3_NodeClick(platform::Node& node) {
    if (node.image() == images::SoftwareCategory) {
        SoftCategoryT.setText(node.fullPath());
    } else if (node.image() == images::SoftwareRecord) {
        loadSoftwareRecord(node.text());
    }
}

void Form1::loadSoftwareRecord(const std::string& name) {
    setSoftwareFormTexts({});
    // A file that cannot be read, or a name that is no plain file name (a
    // hand-edited class.ini line such as "{#$}..\x"), leaves the form empty.
    software::ParsedRecord record;
    try {
        record = software::readRecordFile(app().ProgramFolder, name);
    } catch (const platform::Error&) {
        return;
    }
    std::array<std::string, 12> texts;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (record[i]) texts[i] = *record[i];
    setSoftwareFormTexts(texts);
    if (record[software::NameField]) {
        ExistSoftName = *record[software::NameField];
        ExistSoftFile = name;
        SoftName.clear();
        StatusBar1.panel(2).setText("现在你也可以直接修改软件资料!");
    }
    if (record[software::CategoryField]) PreSoftCategoryT = *record[software::CategoryField];
}
